import QtQuick 2.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 300
    height: 100

    Component {
        id: checkBoxComponent

        RavikCheckBox {
            boxText: "相机"
        }
    }

    TestCase {
        id: testCase

        name: "RavikCheckBox"
        when: windowShown

        function test_fill_data() {
            return [
                {tag: "0: empty", state: 0, fill: "transparent"},
                {tag: "1: yellow", state: 1, fill: "yellow"},
                {tag: "2: green", state: 2, fill: "green"},
                {tag: "any other value: green", state: 7, fill: "green"},
                {tag: "negative: green", state: -1, fill: "green"}
            ]
        }

        function test_fill(data) {
            var box = createTemporaryObject(checkBoxComponent, root, {checkState: data.state})
            var circle = box.children[0]
            verify(Qt.colorEqual(circle.color, data.fill), "fill " + circle.color)
            verify(Qt.colorEqual(circle.border.color, "gray"))
        }

        function test_fillFollowsTheState() {
            var box = createTemporaryObject(checkBoxComponent, root)
            var circle = box.children[0]
            verify(Qt.colorEqual(circle.color, "transparent"))
            box.checkState = 1
            verify(Qt.colorEqual(circle.color, "yellow"))
            box.checkState = 0
            verify(Qt.colorEqual(circle.color, "transparent"))
        }

        function test_geometry() {
            var box = createTemporaryObject(checkBoxComponent, root)
            compare(box.width, 200)
            compare(box.height, 25)
            var circle = box.children[0]
            compare(circle.width, 20)
            compare(circle.height, 20)
            compare(circle.radius, 10)
            compare(circle.x, 10)
            // Vertically centred, give or take the half pixel of snapping to whole pixels.
            fuzzyCompare(circle.y + circle.height / 2, 12.5, 0.5)
            var label = box.children[1]
            compare(label.text, "相机")
            compare(label.x, 40)
            fuzzyCompare(label.y + label.height / 2, 12.5, 0.5)
        }
    }
}
