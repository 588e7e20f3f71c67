// The live plot in a window of its own: the three angles as the reports carry them, or the three
// commanded rates in rad/s, over the last 10, 30 or 60 seconds, scrolling live. It can be paused,
// and each series hidden; the value axis fits what is shown.
import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12
import Gimbal.Plot 1.0

Window {
    id: plotWindow

    readonly property var angleNames: [qsTr("Pitch"), qsTr("Roll"), qsTr("Yaw")]
    readonly property var rateNames: ["x", "y", "z"]
    readonly property var seriesColors: ["#d9534f", "#00a199", "#3366cc"]

    title: qsTr("曲线") + " - Ravik Mavlink"
    color: "#f3f4f8"
    width: 760
    height: 460
    minimumWidth: 480
    minimumHeight: 300

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 6

        RowLayout {
            spacing: 10

            ComboBox {
                id: spanBox

                model: ["10 s", "30 s", "60 s"]
                Layout.preferredWidth: 90

                onActivated: plot.spanSeconds = [10, 30, 60][index]
            }

            ComboBox {
                id: quantityBox

                model: [qsTr("角度（上报原值）"), qsTr("指令角速度 (rad/s)")]
                Layout.preferredWidth: 240

                onActivated: plot.showRates = index === 1
            }

            Button {
                id: pauseButton

                text: plot.paused ? qsTr("继续") : qsTr("暂停")
                Layout.preferredWidth: 90

                onClicked: plot.paused = !plot.paused
            }

            Repeater {
                model: 3

                CheckBox {
                    text: (plot.showRates ? plotWindow.rateNames : plotWindow.angleNames)[index]
                    checked: true
                    palette.windowText: plotWindow.seriesColors[index]

                    onToggled: plot.shownSeries = checked ? plot.shownSeries | (1 << index)
                                                          : plot.shownSeries & ~(1 << index)
                }
            }
        }

        PlotItem {
            id: plot

            history: telemetryHistory
            visible: plotWindow.visible
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }
}
