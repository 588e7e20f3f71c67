import QtQuick 2.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 300
    height: 200

    Component {
        id: buttonComponent

        RavikButton {
            x: 50
            y: 50
            text: "打开"
        }
    }

    Component {
        id: spyComponent

        SignalSpy {
            signalName: "clicked"
        }
    }

    TestCase {
        id: testCase

        name: "RavikButton"
        when: windowShown

        property var button
        property var face
        property var spy

        function init() {
            button = createTemporaryObject(buttonComponent, root)
            face = button.children[0]
            spy = createTemporaryObject(spyComponent, testCase, {target: button})
            verify(spy.valid)
        }

        function test_defaults() {
            compare(button.width, 95)
            compare(button.height, 40)
            compare(face.radius, 10)
            compare(face.border.width, 2)
            verify(Qt.colorEqual(face.border.color, "#ffffff"))
            verify(Qt.colorEqual(face.color, "#f0f0f0"))
            var label = face.children[0]
            compare(label.text, "打开")
            compare(label.font.bold, true)
            compare(label.font.family, "微软雅黑")
            verify(Qt.colorEqual(label.color, "#000000"))
            // Centred, give or take the half pixel of snapping to whole pixels.
            fuzzyCompare(label.x + label.width / 2, face.width / 2, 0.5)
        }

        // Positions are in the button's coordinates; it is 95 x 40.
        function test_click_data() {
            return [
                {tag: "pressed and released inside", press: [40, 20], release: [60, 30],
                    button: Qt.LeftButton, clicks: 1},
                {tag: "pressed inside, released outside", press: [40, 20], release: [140, 20],
                    button: Qt.LeftButton, clicks: 0},
                {tag: "pressed outside, released inside", press: [-20, 20], release: [40, 20],
                    button: Qt.LeftButton, clicks: 0},
                {tag: "right button", press: [40, 20], release: [40, 20],
                    button: Qt.RightButton, clicks: 0}
            ]
        }

        function test_click(data) {
            mousePress(button, data.press[0], data.press[1], data.button)
            mouseMove(button, data.release[0], data.release[1], -1, data.button)
            mouseRelease(button, data.release[0], data.release[1], data.button)
            compare(spy.count, data.clicks)
        }

        function test_pressedColourWhileHeld() {
            button.pressedColor = "#123456"
            mousePress(button, 40, 20)
            verify(Qt.colorEqual(face.color, "#123456"))
            mouseMove(button, 140, 20, -1, Qt.LeftButton)
            verify(Qt.colorEqual(face.color, "#123456"), "still held, outside")
            mouseRelease(button, 140, 20)
            verify(Qt.colorEqual(face.color, "#f0f0f0"))
            compare(spy.count, 0)
        }

        function test_coloursFollowTheProperties() {
            button.backgroundColor = "red"
            button.borderColor = "blue"
            button.textColor = "white"
            verify(Qt.colorEqual(face.color, "red"))
            verify(Qt.colorEqual(face.border.color, "blue"))
            verify(Qt.colorEqual(face.children[0].color, "white"))
        }
    }
}
