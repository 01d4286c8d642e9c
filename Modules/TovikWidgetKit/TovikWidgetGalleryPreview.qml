import QtQuick
import TovikWidgetKit

// The card every widget shows in the gallery and as a placeholder: icon and name, a sample value and a
// bar in the widget's tint, on a fixed dark background. It sets no URL of its own. Its content sits inside
// the host's content margin, as every widget's content does; the background fills the whole widget.
Item {
    id: root

    required property int family // 0 small, 1 medium, 2 large
    required property real contentMargin
    required property string title
    required property string subtitle
    required property string symbol
    required property color tint

    readonly property bool small: family === 0

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0.045, 0.06, 0.09, 1)
    }

    // Placed by anchors rather than Qt Quick Layouts, whose module no placed widget would otherwise load.
    Item {
        objectName: "galleryContent"
        anchors.fill: parent
        anchors.margins: root.contentMargin + (root.small ? 14 : 18)

        readonly property real spacing: root.small ? 7 : 10

        Item {
            width: parent.width
            height: Math.max(symbol.height, title.implicitHeight)

            Image {
                id: symbol

                readonly property real side: (root.small ? 20 : 24) * 1.2
                anchors.verticalCenter: parent.verticalCenter
                width: side
                height: side
                sourceSize.width: side
                sourceSize.height: side
                source: TovikSymbolImages.source(root.symbol, root.tint)
            }
            Text {
                id: title

                // Whole pixels, where a layout would put it.
                x: Math.round(symbol.width + 7)
                y: Math.round((parent.height - height) / 2)
                width: parent.width - x
                text: root.title
                color: "white"
                font.pixelSize: root.small ? 14 : 17
                font.bold: true
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }

        Text {
            anchors.bottom: bar.top
            anchors.bottomMargin: parent.spacing
            width: parent.width
            text: root.subtitle
            color: Qt.rgba(1, 1, 1, 0.78)
            font.pixelSize: root.small ? 11 : 14
            font.weight: Font.Medium
            wrapMode: Text.Wrap
            maximumLineCount: root.small ? 2 : 1
            elide: Text.ElideRight
        }

        Rectangle {
            id: bar

            anchors.bottom: parent.bottom
            width: parent.width
            height: root.small ? 6 : 8
            radius: 4
            color: Qt.rgba(root.tint.r, root.tint.g, root.tint.b, 0.72)
        }
    }
}
