import QtQuick
import TovikWidgetKit

// The stopwatch widget: a header, the elapsed time (counting on each second while running) and the
// start/pause and reset buttons, which run the stopwatch's actions in the host without opening the
// application. A click elsewhere opens the widget's URL.
Item {
    id: root

    required property int family // 0 small, 1 medium, 2 large
    required property real contentMargin
    required property string openURL
    required property real now
    required property bool isGalleryPreview
    required property bool isRunning
    required property string elapsedText
    required property string timerPrefix
    required property real timerStart

    signal openRequested(string url)
    signal intentRequested(string name)

    readonly property color orange: "#ff9500"
    readonly property color cyan: "#32ade6"

    // The card is made only where it shows, in the gallery and as a placeholder; a placed widget never loads
    // its fonts and symbol. Qt 6.4's qmllint does not follow the view's id into the card's component.
    // qmllint disable unqualified
    Loader {
        anchors.fill: parent
        active: root.isGalleryPreview
        sourceComponent: TovikWidgetGalleryPreview {
            family: root.family
            contentMargin: root.contentMargin
            title: "计时器"
            subtitle: "00:45:00"
            symbol: "stopwatch.fill"
            tint: root.cyan
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
            onClicked: root.openRequested(root.openURL)
        }

        Item {
            id: area

            readonly property real timeSize: Math.min(Math.max(18, Math.min(height * 0.48, width / 4.8)),
                                                      root.family === 0 ? 42 : root.family === 1 ? 66 : 88)
            readonly property real headerSize: Math.max(0.28 * timeSize, 12)
            readonly property real buttonSize: Math.max(0.22 * timeSize, 11)

            // Bound to the widget's own size rather than anchored, as in the clock: no font is loaded for a size
            // the texts only pass through.
            x: root.contentMargin + 10
            y: x
            width: root.width - 2 * x
            height: root.height - 2 * y

            TovikLiveTimerText {
                id: elapsed
                from: root.timerStart
                now: root.now
            }

            Column {
                anchors.centerIn: parent
                width: parent.width
                spacing: Math.max(0.08 * area.timeSize, 3)

                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: 6

                    Image {
                        anchors.verticalCenter: parent.verticalCenter
                        width: area.headerSize * 1.2
                        height: width
                        sourceSize.width: width
                        sourceSize.height: height
                        source: TovikSymbolImages.source("stopwatch.fill", Qt.rgba(1, 1, 1, 0.86))
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "计时器"
                        color: Qt.rgba(1, 1, 1, 0.86)
                        font.pixelSize: area.headerSize
                        font.weight: Font.Medium
                    }
                }

                Item {
                    width: parent.width
                    height: area.timeSize * 1.2

                    // Eight digits' width is kept whatever the reading, so the time does not shift as it grows.
                    Text {
                        id: reserved
                        anchors.centerIn: parent
                        width: Math.min(implicitWidth, parent.width)
                        text: "00:00:00"
                        opacity: 0
                        font.pixelSize: area.timeSize
                        font.weight: Font.DemiBold
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: area.timeSize * 0.4
                    }
                    Text {
                        objectName: "time"
                        anchors.verticalCenter: parent.verticalCenter
                        x: root.isRunning ? reserved.x : 0
                        width: root.isRunning ? parent.width - reserved.x : parent.width
                        text: root.isRunning ? root.timerPrefix + elapsed.text : root.elapsedText
                        color: root.isRunning ? root.cyan : "white"
                        font.pixelSize: area.timeSize
                        font.weight: Font.DemiBold
                        horizontalAlignment: root.isRunning ? Text.AlignLeft : Text.AlignHCenter
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: area.timeSize * 0.4
                        maximumLineCount: 1
                    }
                }

                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: 10

                    WidgetIntentButton {
                        objectName: "toggleButton"
                        fontSize: area.buttonSize
                        symbol: root.isRunning ? "pause.fill" : "play.fill"
                        fill: root.isRunning ? root.orange : root.cyan
                        symbolColor: "white"
                        Accessible.name: root.isRunning ? "暂停计时" : "开始计时"
                        onClicked: root.intentRequested("toggleIntent")
                    }
                    WidgetIntentButton {
                        objectName: "resetButton"
                        fontSize: area.buttonSize
                        symbol: "arrow.counterclockwise"
                        fill: Qt.rgba(1, 1, 1, 0.16)
                        symbolColor: "white"
                        Accessible.name: "清零计时"
                        onClicked: root.intentRequested("resetIntent")
                    }
                }
            }
        }
    }
}
