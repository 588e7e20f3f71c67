import QtQuick 2.12
import QtQuick.Window 2.12

Window {
    width: 620
    height: 820
    visible: true
    title: "Gimbal"
}
