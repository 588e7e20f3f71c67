// A flat button in a group box's title row, only as wide as its text, so that a row of them fits
// beside the title in either language.
import QtQuick 2.12
import QtQuick.Controls 2.5

Button {
    flat: true
    font.pixelSize: 14
    leftPadding: 8
    rightPadding: 8
    implicitWidth: contentItem.implicitWidth + leftPadding + rightPadding
}
