pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls

// The widget gallery: every widget in each of its sizes as the card the gallery shows, with its name and
// description; a click on a card adds that widget to the desktop. The host puts the cards into the slots.
Rectangle {
    id: root

    // [{kind, displayName, description}], in the extension's order.
    required property var widgets
    // The sizes in which the cards are shown, scaled down from the desktop's.
    required property var slotSizes
    required property bool launchAtLogin

    signal addRequested(string kind, int family)
    signal launchAtLoginToggled(bool enabled)

    readonly property color background: "#1e1f22"

    color: root.background
    implicitWidth: 640
    implicitHeight: 760

    Flickable {
        anchors.fill: parent
        contentHeight: content.height
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        ScrollBar.vertical: ScrollBar {}

        Column {
            id: content

            width: parent.width
            padding: 24
            spacing: 22

            Text {
                text: "小组件库"
                color: "white"
                font.pixelSize: 22
                font.weight: Font.Bold
            }

            Repeater {
                model: root.widgets

                delegate: Column {
                    id: section

                    required property var modelData

                    spacing: 6

                    Text {
                        text: section.modelData.displayName
                        color: "white"
                        font.pixelSize: 16
                        font.weight: Font.DemiBold
                    }
                    Text {
                        width: content.width - 2 * content.padding
                        text: section.modelData.description
                        color: Qt.rgba(1, 1, 1, 0.6)
                        font.pixelSize: 13
                        wrapMode: Text.Wrap
                    }
                    Row {
                        topPadding: 6
                        spacing: 16

                        Repeater {
                            model: 3

                            delegate: Item {
                                id: slot

                                required property int index

                                objectName: "slot:" + section.modelData.kind + ":" + slot.index
                                width: root.slotSizes[slot.index].width
                                height: root.slotSizes[slot.index].height
                                Accessible.role: Accessible.Button
                                Accessible.name: section.modelData.displayName

                                // Rounds the card's corners by covering them with the gallery's colour.
                                Rectangle {
                                    z: 1
                                    anchors.fill: parent
                                    anchors.margins: -8
                                    color: "transparent"
                                    border.color: root.background
                                    border.width: 8
                                    radius: 12 + 8
                                }
                                MouseArea {
                                    z: 2
                                    anchors.fill: parent
                                    cursorShape: Qt.PointingHandCursor
                                    onClicked: root.addRequested(section.modelData.kind, slot.index)
                                }
                            }
                        }
                    }
                }
            }

            Row {
                spacing: 10

                Switch {
                    objectName: "launchAtLogin"
                    anchors.verticalCenter: parent.verticalCenter
                    checked: root.launchAtLogin
                    onToggled: root.launchAtLoginToggled(checked)
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "登录时启动"
                    color: "white"
                    font.pixelSize: 14
                }
            }
        }
    }
}
