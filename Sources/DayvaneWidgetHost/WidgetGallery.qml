pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls

// The widget gallery: every widget in each of its sizes as the card the gallery shows, with its name and
// description; a click on a card, or Return or Space on the focused one, adds that widget to the desktop.
// Tab reaches the cards and the arrows move between them, a row per widget and a column per size. The
// host puts the cards into the slots.
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
    readonly property color focusColor: "#0a84ff"
    readonly property var familyNames: ["小", "中", "大"]
    // The cards by row (widget) and column (size), for the arrow keys.
    property var cards: []

    // Gives the keyboard focus to the card at (row, column), if there is one.
    function focusCard(row, column) {
        const card = root.cards[row] ? root.cards[row][column] : undefined;
        if (card) {
            card.forceActiveFocus(Qt.TabFocusReason);
        }
    }

    color: root.background
    implicitWidth: 640
    implicitHeight: 760
    // Keys reach the window before anything inside it has the focus; an arrow then starts at the first card.
    focus: true
    Keys.onPressed: event => {
        if ([Qt.Key_Left, Qt.Key_Right, Qt.Key_Up, Qt.Key_Down].includes(event.key)) {
            root.focusCard(0, 0);
            event.accepted = true;
        }
    }

    Flickable {
        id: flickable

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
                    required property int index

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

                                function add() {
                                    root.addRequested(section.modelData.kind, slot.index);
                                }

                                objectName: "slot:" + section.modelData.kind + ":" + slot.index
                                width: root.slotSizes[slot.index].width
                                height: root.slotSizes[slot.index].height
                                activeFocusOnTab: true
                                Accessible.role: Accessible.Button
                                Accessible.name: section.modelData.displayName + "（" + root.familyNames[slot.index] + "）"
                                Accessible.description: "添加到桌面"
                                Accessible.focusable: true
                                Accessible.onPressAction: slot.add()

                                Component.onCompleted: {
                                    const rows = root.cards;
                                    rows[section.index] = rows[section.index] || [];
                                    rows[section.index][slot.index] = slot;
                                    root.cards = rows;
                                }
                                // A card that takes the focus scrolls into sight.
                                onActiveFocusChanged: {
                                    if (!slot.activeFocus) {
                                        return;
                                    }
                                    const top = slot.mapToItem(content, 0, 0).y - content.padding;
                                    const bottom = top + slot.height + 2 * content.padding;
                                    if (top < flickable.contentY) {
                                        flickable.contentY = Math.max(0, top);
                                    } else if (bottom > flickable.contentY + flickable.height) {
                                        flickable.contentY = Math.min(bottom - flickable.height,
                                                                      Math.max(0, flickable.contentHeight - flickable.height));
                                    }
                                }
                                Keys.onPressed: event => {
                                    switch (event.key) {
                                    case Qt.Key_Return:
                                    case Qt.Key_Enter:
                                    case Qt.Key_Space:
                                        slot.add();
                                        break;
                                    case Qt.Key_Left:
                                        root.focusCard(section.index, slot.index - 1);
                                        break;
                                    case Qt.Key_Right:
                                        root.focusCard(section.index, slot.index + 1);
                                        break;
                                    case Qt.Key_Up:
                                        root.focusCard(section.index - 1, slot.index);
                                        break;
                                    case Qt.Key_Down:
                                        root.focusCard(section.index + 1, slot.index);
                                        break;
                                    default:
                                        return;
                                    }
                                    event.accepted = true;
                                }

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
                                // The focus mark: a ring in the accent colour around the card.
                                Rectangle {
                                    z: 2
                                    anchors.fill: parent
                                    anchors.margins: -5
                                    visible: slot.activeFocus
                                    color: "transparent"
                                    border.color: root.focusColor
                                    border.width: 3
                                    radius: 12 + 5
                                }
                                MouseArea {
                                    z: 3
                                    anchors.fill: parent
                                    cursorShape: Qt.PointingHandCursor
                                    onClicked: slot.add()
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
                    Accessible.name: "登录时启动"
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
