// The editable port box: pick a listed port or type one the system does not list (a
// pseudo-terminal, a by-id path). The port typed or picked is kept in `choice` (C++), which
// outlives what resets the box: a refreshed list would fall back to its first row, and Open would
// open that; a language switch evaluates every binding anew. After either, the box shows the
// chosen port again.
import QtQuick 2.12

PanelComboBox {
    id: box

    // Holds `port`, takes the user's choice through choose() and signals showRequested() after a
    // language switch.
    property var choice

    function showChosenPort() {
        var row = find(choice.port)
        if (row >= 0)
            currentIndex = row
        else if (choice.port !== "")
            editText = choice.port
    }

    wheelEnabled: true
    editable: true

    // The box's own editText lags behind the text field while the user types.
    Component.onCompleted: {
        contentItem.textEdited.connect(function() { choice.choose(contentItem.text) })
        choice.showRequested.connect(showChosenPort)
        showChosenPort()
    }
    onActivated: choice.choose(textAt(index))
    // The box settles on its new rows first; the choice is put back after that.
    onModelChanged: Qt.callLater(showChosenPort)
}
