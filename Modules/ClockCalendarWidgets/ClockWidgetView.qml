import QtQuick
import TovikWidgetKit
import ClockCalendarWidgets

// The clock widget: the date, the wall time of day moving on each second, and the lunar date with the
// weekday, on a dark gradient. A click runs the open action when there is one, else opens the widget's URL.
Item {
    id: root

    required property int family // 0 small, 1 medium, 2 large
    required property real contentMargin
    required property string openURL
    required property real now
    required property bool isGalleryPreview
    required property string dateText
    required property string subtitle
    property bool hasOpenIntent: false

    signal openRequested(string url)
    signal intentRequested(string name)

    readonly property bool small: family === 0

    // The card is made only where it shows, in the gallery and as a placeholder; a placed widget never loads
    // its fonts and symbol. Qt 6.4's qmllint does not follow the view's id into the card's component.
    // qmllint disable unqualified
    Loader {
        anchors.fill: parent
        active: root.isGalleryPreview
        sourceComponent: TovikWidgetGalleryPreview {
            family: root.family
            contentMargin: root.contentMargin
            title: "时钟"
            subtitle: "12:45:08"
            symbol: "clock.fill"
            tint: "#ff9500"
        }
    }
    // qmllint enable unqualified

    Item {
        anchors.fill: parent
        visible: !root.isGalleryPreview

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                GradientStop {
                    position: 0
                    color: Qt.rgba(0.17, 0.17, 0.17, 1)
                }
                GradientStop {
                    position: 1
                    color: "black"
                }
            }
        }

        MouseArea {
            anchors.fill: parent
            onClicked: root.hasOpenIntent ? root.intentRequested("openIntent") : root.openRequested(root.openURL)
        }

        Item {
            id: area

            readonly property real timeSize: Math.min(root.family === 0 ? 44 : root.family === 1 ? 72 : 94,
                                                      Math.max(20, Math.min(height * 0.54, width / 4.2)))
            readonly property real dateSize: Math.min(root.family === 0 ? 26 : root.family === 1 ? 30 : 34,
                                                      Math.max(22, Math.min(height * 0.24, timeSize * 0.54)))
            readonly property real subtitleSize: Math.min(root.family === 0 ? 12 : root.family === 1 ? 16 : 20,
                                                          Math.max(9, Math.min(height * 0.11, timeSize * 0.26)))

            // Bound to the widget's own size rather than anchored: anchors settle only after the texts are first
            // laid out, at sizes never shown, each loading a font of its own.
            x: root.contentMargin + (root.small ? 6 : 8)
            y: root.contentMargin + 2
            width: root.width - 2 * x
            height: root.height - 2 * y

            ClockLiveTimeText {
                id: timeOfDay
                now: root.now
            }

            // Rows as tall as the system font's lines (1.2 em); the CJK face's own would not fit medium.
            Column {
                anchors.centerIn: parent
                width: parent.width
                spacing: root.small ? 1 : 2

                Text {
                    width: parent.width
                    text: root.dateText
                    color: Qt.rgba(1, 1, 1, 0.88)
                    height: area.dateSize * 1.2
                    font.pixelSize: area.dateSize
                    verticalAlignment: Text.AlignVCenter
                    font.weight: Font.Medium
                    horizontalAlignment: Text.AlignHCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: area.dateSize * 0.7
                    maximumLineCount: 1
                }
                Text {
                    objectName: "time"
                    width: parent.width
                    text: timeOfDay.text
                    color: "white"
                    height: area.timeSize * 1.2
                    font.pixelSize: area.timeSize
                    verticalAlignment: Text.AlignVCenter
                    font.weight: Font.Medium
                    horizontalAlignment: Text.AlignHCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: area.timeSize * 0.65
                    maximumLineCount: 1
                }
                Text {
                    width: parent.width
                    text: root.subtitle
                    color: Qt.rgba(1, 1, 1, 0.78)
                    height: area.subtitleSize * 1.2
                    font.pixelSize: area.subtitleSize
                    verticalAlignment: Text.AlignVCenter
                    font.weight: Font.Medium
                    horizontalAlignment: Text.AlignHCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: area.subtitleSize * 0.55
                    maximumLineCount: 1
                }
            }
        }
    }
}
