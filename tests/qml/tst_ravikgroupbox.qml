import QtQuick 2.12
import QtQuick.Layouts 1.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 400
    height: 300

    Component {
        id: boxComponent

        RavikGroupBox {
            Rectangle {
                Layout.fillWidth: true
                Layout.fillHeight: true
            }
        }
    }

    TestCase {
        id: testCase

        name: "RavikGroupBox"
        when: windowShown

        property var box

        // Children of the box: panel, title tab (background, label), content column.
        function init() {
            box = createTemporaryObject(boxComponent, root)
        }

        function test_panel() {
            compare(box.width, 240)
            compare(box.height, 160)
            var panel = box.children[0]
            compare(panel.width, 240)
            compare(panel.height, 160)
            compare(panel.radius, 8)
            verify(Qt.colorEqual(panel.color, "white"))
            verify(Qt.colorEqual(panel.border.color, "#b1b1b1"))
        }

        function layOut(layout) {
            tryVerify(function() { return !isPolishScheduled(layout) })
        }

        function test_contentLandsInTheColumnWithMargins() {
            var column = box.children[2]
            compare(column.children.length, 1)
            var content = column.children[0]
            layOut(column)
            var topLeft = content.mapToItem(box, 0, 0)
            compare(topLeft.x, 20)
            compare(topLeft.y, 20)
            compare(content.width, 200)
            compare(content.height, 120)
            box.width = 400
            layOut(column)
            compare(content.width, 360)
        }

        function test_title_data() {
            return [
                {tag: "default title", title: undefined, shown: "Custom GroupBox Title",
                    tabBackground: true},
                {tag: "set title", title: "角度信息", shown: "角度信息", tabBackground: true},
                {tag: "empty title: no tab background", title: "", shown: "", tabBackground: false}
            ]
        }

        function test_title(data) {
            if (data.title !== undefined)
                box.title = data.title
            var tab = box.children[1]
            var tabBackground = tab.children[0]
            var label = tab.children[1]
            compare(label.text, data.shown)
            compare(tabBackground.visible, data.tabBackground)
            compare(tab.x, 10)
            compare(tab.y, 10)
            compare(tab.width, label.width + 20)
            compare(tab.height, label.height)
            compare(label.x, 10)
            compare(label.font.bold, true)
            compare(label.font.pixelSize, 16)
            compare(label.font.family, "微软雅黑")
            verify(Qt.colorEqual(label.color, "black"))
        }
    }
}
