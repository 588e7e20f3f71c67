import QtQuick 2.12
import QtTest 1.2
import "../../qml"

Item {
    id: root

    width: 400
    height: 400

    Component {
        id: comboComponent

        RavikCombox {}
    }

    Component {
        id: spyComponent

        SignalSpy {
            signalName: "activated"
        }
    }

    Component {
        id: modelWithoutTextRole

        ListModel {
            ListElement { name: "up" }
            ListElement { name: "down" }
        }
    }

    TestCase {
        id: testCase

        name: "RavikCombox"
        when: windowShown

        property var combo
        property var button
        property var popup
        property var listView
        property var spy

        // QML list properties are not script arrays.
        function itemsOf(list, test) {
            var found = []
            for (var i = 0; i < list.length; ++i) {
                if (test(list[i]))
                    found.push(list[i])
            }
            return found
        }

        function init() {
            makeCombo()
            messageLog.start()
        }

        function cleanup() {
            englishCatalogue.installed = false
        }

        // A new combo box, which reads its entries in the language installed now.
        function makeCombo() {
            combo = createTemporaryObject(comboComponent, root)
            button = combo.children[0]
            popup = itemsOf(button.data, function(o) { return o.opened !== undefined })[0]
            listView = popup.contentChildren[0]
            spy = createTemporaryObject(spyComponent, testCase, {target: combo})
            verify(spy.valid)
        }

        function openPopup() {
            mouseClick(button)
            tryCompare(popup, "opened", true)
        }

        // The list's entries, top to bottom.
        function entries() {
            return itemsOf(listView.contentItem.children, function(item) {
                return item.highlighted !== undefined
            }).sort(function(a, b) { return a.y - b.y })
        }

        function test_startsWithoutSelection() {
            compare(combo.width, 200)
            compare(combo.height, button.height)
            compare(button.width, 200)
            compare(combo.currentIndex, -1)
            compare(combo.currentText, "")
            compare(button.text, "Select Item")
            compare(popup.visible, false)
        }

        function test_popupBelowTheButton() {
            openPopup()
            compare(popup.y, button.height)
            compare(popup.width, button.width)
            compare(popup.height, 200)
            compare(entries().length, 2)
            compare(entries()[0].width, listView.width)
        }

        function test_choose_data() {
            return [
                {tag: "first entry", row: 0, text: "相机朝上"},
                {tag: "second entry", row: 1, text: "相机朝下"},
                {tag: "second entry in English from the catalogue", row: 1,
                 text: "Camera Downward", english: true}
            ]
        }

        function test_choose(data) {
            if (data.english) {
                englishCatalogue.installed = true
                verify(englishCatalogue.installed)
                makeCombo()
            }
            openPopup()
            var entry = entries()[data.row]
            compare(entry.text, data.text)
            mouseClick(entry)
            compare(combo.currentText, data.text)
            compare(combo.currentIndex, data.row)
            compare(button.text, data.text)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], data.row)
            tryCompare(popup, "visible", false)
        }

        function test_chooseAgainReportsAgain() {
            openPopup()
            mouseClick(entries()[1])
            tryCompare(popup, "visible", false)
            openPopup()
            mouseClick(entries()[0])
            compare(combo.currentText, "相机朝上")
            compare(spy.count, 2)
            compare(spy.signalArguments[1][0], 0)
        }

        function test_entryWithoutTextRoleChangesNothing() {
            listView.model = createTemporaryObject(modelWithoutTextRole, testCase)
            openPopup()
            mouseClick(entries()[1])
            compare(combo.currentIndex, -1)
            compare(combo.currentText, "")
            compare(spy.count, 0)
            compare(popup.opened, true)
            var errors = messageLog.messages.filter(function(m) {
                return m.indexOf("RavikCombox.qml: 模型中缺少 'text' 属性。") !== -1
            })
            compare(errors.length, 1)
        }
    }
}
