import QtQuick
import TovikWidgetKit

// A capsule button with a symbol that a widget binds to one of its actions; the host runs the action.
Rectangle {
    id: root

    required property real fontSize
    required property string symbol
    required property color fill
    required property color symbolColor

    signal clicked

    implicitWidth: fontSize * 3.4
    implicitHeight: fontSize * 2.2
    radius: height / 2
    color: root.fill
    Accessible.role: Accessible.Button

    Image {
        anchors.centerIn: parent
        width: root.fontSize * 1.2
        height: width
        sourceSize.width: width
        sourceSize.height: height
        source: TovikSymbolImages.source(root.symbol, root.symbolColor)
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
