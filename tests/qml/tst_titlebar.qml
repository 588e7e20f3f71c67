import QtQuick 2.12
import QtQuick.Window 2.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 400
    height: 200

    Component {
        id: barComponent

        // Wired the way the main window wires its title bar.
        RavikTitleBar {
            windowTitle: "Ravik Mavlink"
            onCloseClicked: Qt.quit()
        }
    }

    Component {
        id: fakeWindowComponent

        QtObject {
            property real x: 100
            property real y: 100
        }
    }

    Component {
        id: spyComponent

        SignalSpy {}
    }

    TestCase {
        id: testCase

        name: "RavikTitleBar"
        when: windowShown

        property var bar
        property var fakeWindow

        // The strip's row holds, left to right: logo, title, minimise button, close button.
        function rowItem(i) {
            return bar.children[1].children[i]
        }

        function scriptErrors() {
            return messageLog.messages.filter(function(m) {
                return /RavikTitleBar\.qml.*Error/.test(m)
            })
        }

        function init() {
            fakeWindow = createTemporaryObject(fakeWindowComponent, testCase)
            bar = createTemporaryObject(barComponent, root, {window: fakeWindow})
            compare(bar.width, 400)
            compare(bar.height, 40)
            messageLog.start()
        }

        function test_drag_data() {
            return [
                {tag: "from the logo", x: 20, button: Qt.LeftButton, moves: true},
                {tag: "from the title", x: 200, button: Qt.LeftButton, moves: true},
                {tag: "just left of the button corner", x: 299, button: Qt.LeftButton, moves: true},
                {tag: "in the rightmost 100 px, left of the buttons", x: 310, button: Qt.LeftButton,
                    moves: false},
                {tag: "on the minimise button", x: 340, button: Qt.LeftButton, moves: false},
                {tag: "on the close button", x: 380, button: Qt.LeftButton, moves: false},
                {tag: "with the right mouse button", x: 200, button: Qt.RightButton, moves: false}
            ]
        }

        function test_drag(data) {
            mousePress(bar, data.x, 20, data.button)
            mouseMove(bar, data.x - 30, 35, -1, data.button)
            mouseRelease(bar, data.x - 30, 35, data.button)
            compare(fakeWindow.x, data.moves ? 70 : 100)
            compare(fakeWindow.y, data.moves ? 115 : 100)
        }

        function test_dragMovesTheRealWindowAndKeepsThePressedPoint() {
            var window = testCase.Window.window
            var start = Qt.point(window.x, window.y)
            bar.window = window
            mousePress(bar, 100, 20)
            // Positions are in the window's own coordinates, which move with it.
            mouseMove(bar, 125, 30, -1, Qt.LeftButton)
            tryCompare(window, "x", start.x + 25)
            tryCompare(window, "y", start.y + 10)
            mouseMove(bar, 100, 20, -1, Qt.LeftButton)
            mouseRelease(bar, 100, 20)
            compare(window.x, start.x + 25)
            compare(window.y, start.y + 10)
            window.x = start.x
            window.y = start.y
        }

        function test_nullWindowMovesNothing() {
            bar.window = null
            mousePress(bar, 200, 20)
            mouseMove(bar, 150, 30, -1, Qt.LeftButton)
            mouseRelease(bar, 150, 30)
            compare(scriptErrors(), [])
            compare(fakeWindow.x, 100)
        }

        function test_title_data() {
            return [
                {tag: "short title fits", title: "Ravik Mavlink", elided: false},
                {tag: "long title is cut at the right end",
                    title: "A window title far longer than the strip has room for between logo and buttons",
                    elided: true}
            ]
        }

        function test_title(data) {
            bar.windowTitle = data.title
            var label = rowItem(1)
            compare(label.text, data.title)
            compare(label.truncated, data.elided)
            verify(label.x + label.width <= rowItem(2).x)
            verify(label.x >= rowItem(0).x + rowItem(0).width)
        }

        function test_buttons_data() {
            return [
                {tag: "minimise", button: 2, signalName: "minimizeClicked", line: "mini", quits: 0},
                {tag: "close quits", button: 3, signalName: "closeClicked", line: "close", quits: 1}
            ]
        }

        function test_buttons(data) {
            var spy = createTemporaryObject(spyComponent, testCase,
                                            {target: bar, signalName: data.signalName})
            verify(spy.valid)
            var quitsBefore = quitCounter.count
            mouseClick(rowItem(data.button))
            compare(spy.count, 1)
            compare(quitCounter.count - quitsBefore, data.quits)
            var lines = messageLog.messages.filter(function(m) { return /: (mini|close)$/.test(m) })
            compare(lines.length, 1)
            verify(lines[0].indexOf("RavikTitleBar.qml: " + data.line) !== -1, lines[0])
        }

        function test_defaults() {
            var plain = createTemporaryObject(barComponent, root)
            compare(plain.window, null)
            compare(plain.iconSource, "/image/logo.png")
            compare(Qt.colorEqual(plain.backgroundColor, "#34495e"), true)
            compare(rowItem(2).width, 40)
            compare(rowItem(3).width, 40)
            compare(rowItem(3).x + rowItem(3).width, 390)
        }
    }
}
