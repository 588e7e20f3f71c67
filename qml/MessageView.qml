// The messages for the user, newest last, one time-stamped line each from the message list.
// It follows the newest line unless the user has scrolled up to read; lines can be selected and
// copied.
import QtQuick 2.12
import QtQuick.Controls 2.5

ListView {
    id: view

    // Whether the newest line is to be kept in view; the user's scrolling decides.
    property bool following: true
    property bool scrollingToEnd: false

    // Also called later, by which time the user may have scrolled away.
    function showNewest() {
        if (!following)
            return
        scrollingToEnd = true
        positionViewAtEnd()
        scrollingToEnd = false
    }

    clip: true
    model: messageModel
    boundsBehavior: Flickable.StopAtBounds

    delegate: TextEdit {
        text: model.line
        readOnly: true
        selectByMouse: true
        wrapMode: TextEdit.Wrap
        leftPadding: 10
        rightPadding: 10
        width: ListView.view.width
    }

    ScrollBar.vertical: ScrollBar {}

    // Worked out here: atYEnd is updated only after this change has been signalled.
    onContentYChanged: {
        if (!scrollingToEnd)
            following = contentY >= originY + contentHeight - height - 1
    }
    onContentHeightChanged: showNewest()
    onCountChanged: Qt.callLater(showNewest)
}
