import QtQuick
import QtQuick.Layouts
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

    ColumnLayout {
        objectName: "galleryContent"
        anchors.fill: parent
        anchors.margins: root.contentMargin + (root.small ? 14 : 18)
        spacing: root.small ? 7 : 10

        RowLayout {
            spacing: 7
            Layout.fillWidth: true

            Image {
                readonly property real side: (root.small ? 20 : 24) * 1.2
                Layout.preferredWidth: side
                Layout.preferredHeight: side
                sourceSize.width: side
                sourceSize.height: side
                source: TovikSymbolImages.source(root.symbol, root.tint)
            }
            Text {
                Layout.fillWidth: true
                text: root.title
                color: "white"
                font.pixelSize: root.small ? 14 : 17
                font.bold: true
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }

        Item {
            Layout.fillHeight: true
        }

        Text {
            Layout.fillWidth: true
            text: root.subtitle
            color: Qt.rgba(1, 1, 1, 0.78)
            font.pixelSize: root.small ? 11 : 14
            font.weight: Font.Medium
            wrapMode: Text.Wrap
            maximumLineCount: root.small ? 2 : 1
            elide: Text.ElideRight
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: root.small ? 6 : 8
            radius: 4
            color: Qt.rgba(root.tint.r, root.tint.g, root.tint.b, 0.72)
        }
    }
}
