import QtQuick 2.12
import QtQuick.Window 2.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 400
    height: 400

    Component {
        id: stickComponent

        Joystick {
            width: 200
            height: 200
        }
    }

    Component {
        id: spyComponent

        SignalSpy {
            signalName: "joystickChange"
        }
    }

    Component {
        id: otherWindowComponent

        Window {
            width: 50
            height: 50
        }
    }

    TestCase {
        id: testCase

        name: "Joystick"
        when: windowShown

        // In a 200 x 200 stick the pad is 150 x 150 and the knob 50 x 50, centred at (75, 75).
        property var stick
        property var knob
        property var spy

        function init() {
            stick = createTemporaryObject(stickComponent, root)
            knob = stick.children[1]
            spy = createTemporaryObject(spyComponent, testCase, {target: stick})
            verify(spy.valid)
            compare(knob.width, 50)
        }

        function lastReport() {
            return spy.signalArguments[spy.count - 1]
        }

        function drag(x, y) {
            mouseMove(stick, x, y, -1, Qt.LeftButton)
        }

        function test_deflection_data() {
            return [
                {tag: "far beyond the right and top edges: full right and up", x: 600, y: -400,
                    knobX: 125, knobY: -25, rx: 1, ry: 1},
                {tag: "far beyond the left and bottom edges: the lower-left corner", x: -400, y: 600,
                    knobX: -25, knobY: 125, rx: -1, ry: -1},
                {tag: "on the right edge, 60 % up", x: 150, y: 30,
                    knobX: 125, knobY: 5, rx: 1, ry: 0.6},
                {tag: "inside the pad: linear, no dead zone", x: 60, y: 90,
                    knobX: 35, knobY: 65, rx: -0.2, ry: -0.2},
                {tag: "a few pixels off centre", x: 78, y: 75,
                    knobX: 53, knobY: 50, rx: 0.04, ry: 0}
            ]
        }

        function test_deflection(data) {
            mousePress(stick, 75, 75)
            drag(data.x, data.y)
            compare(knob.x, data.knobX)
            compare(knob.y, data.knobY)
            compare(spy.count, 1)
            fuzzyCompare(lastReport()[0], data.rx, 1e-9)
            fuzzyCompare(lastReport()[1], data.ry, 1e-9)
            mouseRelease(stick, data.x, data.y)
        }

        function test_everyMoveReports() {
            mousePress(stick, 75, 75)
            drag(90, 75)
            drag(105, 60)
            drag(150, 0)
            compare(spy.count, 3)
            fuzzyCompare(spy.signalArguments[0][0], 0.2, 1e-9)
            fuzzyCompare(spy.signalArguments[1][0], 0.4, 1e-9)
            fuzzyCompare(spy.signalArguments[1][1], 0.2, 1e-9)
            compare(lastReport()[0], 1)
            compare(lastReport()[1], 1)
            mouseRelease(stick, 150, 0)
        }

        function test_offCentrePressJumpsTheKnob() {
            // The knob spans 50..100; press near its top-left corner.
            mousePress(stick, 55, 55)
            compare(spy.count, 0)
            drag(56, 56)
            compare(knob.x + knob.width / 2, 56)
            compare(knob.y + knob.height / 2, 56)
            compare(spy.count, 1)
            fuzzyCompare(lastReport()[0], -19 / 75, 1e-9)
            fuzzyCompare(lastReport()[1], 19 / 75, 1e-9)
            mouseRelease(stick, 56, 56)
        }

        function test_pressOutsideTheKnobDoesNothing() {
            mousePress(stick, 10, 10)
            drag(150, 150)
            mouseRelease(stick, 150, 150)
            compare(spy.count, 0)
            compare(knob.x, 50)
            compare(knob.y, 50)
        }

        function test_pressWithoutMoveReportsZeroOnRelease() {
            mousePress(stick, 75, 75)
            compare(spy.count, 0)
            mouseRelease(stick, 75, 75)
            compare(spy.count, 1)
            compare(lastReport()[0], 0)
            compare(lastReport()[1], 0)
        }

        function test_dragEnd_data() {
            return [
                {tag: "released", end: function() { mouseRelease(stick, 130, 20) }},
                {tag: "cancelled: the knob loses the mouse grab",
                    end: function() { stick.enabled = false }},
                {tag: "cancelled: another window becomes active", end: function() {
                    var other = createTemporaryObject(otherWindowComponent, null)
                    other.show()
                    other.requestActivate()
                    tryCompare(testCase.Window, "active", false)
                }},
                {tag: "cancelled: the window is minimised", end: function() {
                    testCase.Window.window.showMinimized()
                    tryCompare(testCase.Window, "visibility", Window.Minimized)
                }}
            ]
        }

        function test_dragEnd(data) {
            mousePress(stick, 75, 75)
            drag(130, 20)
            compare(knob.x, 105)
            compare(spy.count, 1)

            data.end()
            compare(knob.x, 50)
            compare(knob.y, 50)
            compare(spy.count, 2)
            compare(lastReport()[0], 0)
            compare(lastReport()[1], 0)

            // The drag is over: neither a further move nor the late release reports again.
            restoreWindow()
            stick.enabled = true
            drag(140, 10)
            mouseRelease(stick, 140, 10)
            compare(knob.x, 50)
            compare(spy.count, 2)

            // And the next drag works as usual.
            mousePress(stick, 75, 75)
            drag(100, 75)
            compare(knob.x, 75)
            compare(spy.count, 3)
            mouseRelease(stick, 100, 75)
        }

        function restoreWindow() {
            var window = testCase.Window.window
            if (window.visibility === Window.Minimized)
                window.showNormal()
            window.requestActivate()
            tryCompare(testCase.Window, "active", true)
        }

        function test_reusableAfterSpringBack() {
            mousePress(stick, 75, 75)
            drag(0, 0)
            mouseRelease(stick, 0, 0)
            mousePress(stick, 75, 75)
            drag(150, 75)
            compare(knob.x, 125)
            compare(knob.y, 50)
            compare(lastReport()[0], 1)
            mouseRelease(stick, 150, 75)
        }

        function test_padFollowsTheSize() {
            stick.width = 300
            stick.height = 250
            compare(stick.children[0].width, 250)
            compare(stick.children[0].height, 200)
            compare(knob.x, 100)
            compare(knob.y, 75)
        }
    }
}
