import QtQuick
import TovikWidgetKit

// The calendar widget: this month as a compact grid on a dark card, month and year on top (not in the
// medium family), weekday titles, a hairline, and one row per week with the numbers marked as the
// application marks them (today cherry, holidays red, makeup workdays green); the large family writes the
// captions under them when the application shows lunar captions. Days of the neighbouring months stay
// blank. A click opens the widget's URL.
Item {
    id: root

    required property int family // 0 small, 1 medium, 2 large
    required property real contentMargin
    required property string openURL
    required property real now
    required property bool isGalleryPreview
    required property string monthName
    required property string yearText
    required property list<string> weekdayTitles
    required property list<string> dayNumbers // 42, Monday first; empty outside the month
    required property var dayColors // 42 colours, the numbers'
    required property list<string> captions // 42, empty when none or when lunar captions are off
    required property var captionColors // 42 colours
    required property int todayIndex // -1 when today is not in the month
    required property int weekRowCount
    required property color todayColor
    required property color weekdayTitleColor
    required property color weekendTitleColor
    required property color dividerColor

    signal openRequested(string url)
    signal intentRequested(string name)

    readonly property bool medium: family === 1

    // The card is made only where it shows, in the gallery and as a placeholder; a placed widget never loads
    // its fonts and symbol. Qt 6.4's qmllint does not follow the view's id into the card's component.
    // qmllint disable unqualified
    Loader {
        anchors.fill: parent
        active: root.isGalleryPreview
        sourceComponent: TovikWidgetGalleryPreview {
            family: root.family
            contentMargin: root.contentMargin
            title: "日历"
            subtitle: "当前月份日历"
            symbol: "calendar"
            tint: "#007aff"
        }
    }
    // qmllint enable unqualified

    Rectangle {
        anchors.fill: parent
        visible: !root.isGalleryPreview
        color: Qt.rgba(0, 0, 0, 0.88)
        // What runs past the card's bottom inset is cut at the widget's edge.
        clip: true

        MouseArea {
            anchors.fill: parent
            onClicked: root.openRequested(root.openURL)
        }

        Column {
            anchors.fill: parent
            anchors.topMargin: root.contentMargin + (root.medium ? Math.max(12 - root.contentMargin, 0) : root.family === 0 ? 8 : 10)
            anchors.bottomMargin: anchors.topMargin
            anchors.leftMargin: root.contentMargin + (root.medium ? Math.max(20 - root.contentMargin, 0) : root.family === 0 ? 8 : 10)
            anchors.rightMargin: anchors.leftMargin
            spacing: root.medium ? 0 : 6

            Row {
                id: titleRow
                visible: !root.medium
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 4

                Text {
                    text: root.monthName
                    color: "white"
                    font.pixelSize: root.family === 0 ? 11 : 14
                    font.bold: true
                }
                Text {
                    text: root.yearText
                    color: "white"
                    font.pixelSize: root.family === 0 ? 11 : 14
                    font.bold: true
                }
            }

            Item {
                id: area

                readonly property int rows: Math.max(root.weekRowCount, 1)
                readonly property real hw: root.medium ? Math.max(10, Math.min(14, 0.075 * height))
                                                       : Math.max(14, Math.min(20, 0.11 * height))
                readonly property real cs: root.medium ? 0 : 1
                readonly property real ss: root.medium ? 0 : 4
                readonly property real wp: root.medium ? 3 : 0
                readonly property real ra: root.medium ? 0 : 3
                readonly property real cw: Math.max((width - 6 * cs) / 7, 1)
                readonly property real gh: Math.max(height - hw - wp - 1 - ss - (rows - 1) * ra, 1)
                readonly property real ch: Math.max(gh / rows, 1)
                readonly property real df: root.medium ? 14 : Math.max(1, Math.min(root.family === 0 ? 13 : 22, 0.52 * cw, 0.58 * ch))
                readonly property real wf: root.medium ? 10 : Math.max(1, Math.min(10, 0.58 * hw))

                width: parent.width
                height: parent.height - (titleRow.visible ? titleRow.height + parent.spacing : 0)

                // What each cell shows, worked out here: a delegate sees only its model.
                readonly property var weekdayCells: {
                    const cells = [];
                    for (let column = 0; column < root.weekdayTitles.length; ++column) {
                        cells.push({
                            "text": root.weekdayTitles[column],
                            "color": column < 5 ? root.weekdayTitleColor : root.weekendTitleColor,
                            "width": cw,
                            "height": hw,
                            "size": wf,
                            "weight": root.medium ? Font.DemiBold : Font.Medium
                        });
                    }
                    return cells;
                }
                readonly property var dayCells: {
                    const cells = [];
                    const count = Math.min(7 * root.weekRowCount, root.dayNumbers.length);
                    for (let position = 0; position < count; ++position) {
                        cells.push({
                            "text": root.dayNumbers[position],
                            "color": root.dayColors.length > position ? root.dayColors[position] : Qt.color("white"),
                            "caption": root.family === 2 && root.dayNumbers[position] !== "" && root.captions.length > position
                                       ? root.captions[position] : "",
                            "captionColor": root.captionColors.length > position ? root.captionColors[position] : Qt.color("white"),
                            "captionSize": Math.max(6, Math.min(10, 0.22 * ch, 0.3 * cw)),
                            "width": cw,
                            "height": ch,
                            "size": df,
                            "minimumSize": Math.max(1, df * (root.medium ? 0.75 : 0.5))
                        });
                    }
                    return cells;
                }

                Column {
                    width: parent.width
                    spacing: area.ss

                    Row {
                        spacing: area.cs
                        height: area.hw + area.wp

                        Repeater {
                            model: area.weekdayCells
                            delegate: Text {
                                required property var modelData
                                width: modelData.width
                                height: modelData.height
                                text: modelData.text
                                color: modelData.color
                                font.pixelSize: modelData.size
                                font.weight: modelData.weight
                                horizontalAlignment: Text.AlignHCenter
                                verticalAlignment: Text.AlignVCenter
                            }
                        }
                    }

                    Rectangle {
                        width: parent.width
                        height: 1
                        color: root.dividerColor
                    }

                    Grid {
                        columns: 7
                        columnSpacing: area.cs
                        rowSpacing: area.ss

                        Repeater {
                            model: area.dayCells
                            delegate: Item {
                                id: dayCell
                                required property var modelData
                                required property int index
                                width: modelData.width
                                height: modelData.height

                                // The number and its caption stay one block, centred in the cell.
                                Column {
                                    anchors.centerIn: parent
                                    width: parent.width

                                    Text {
                                        objectName: "day" + dayCell.index
                                        width: parent.width
                                        height: dayCell.modelData.caption === "" ? dayCell.modelData.height : Math.min(dayCell.modelData.height, Math.ceil(dayCell.modelData.size * 1.2))
                                        text: dayCell.modelData.text
                                        color: dayCell.modelData.color
                                        font.pixelSize: dayCell.modelData.size
                                        font.bold: true
                                        horizontalAlignment: Text.AlignHCenter
                                        verticalAlignment: Text.AlignVCenter
                                        fontSizeMode: Text.HorizontalFit
                                        minimumPixelSize: dayCell.modelData.minimumSize
                                        maximumLineCount: 1
                                    }
                                    Text {
                                        objectName: "caption" + dayCell.index
                                        visible: dayCell.modelData.caption !== ""
                                        width: parent.width
                                        text: dayCell.modelData.caption
                                        color: dayCell.modelData.captionColor
                                        font.pixelSize: dayCell.modelData.captionSize
                                        font.weight: Font.Medium
                                        horizontalAlignment: Text.AlignHCenter
                                        elide: Text.ElideRight
                                        maximumLineCount: 1
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}
