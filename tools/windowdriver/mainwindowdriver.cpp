#include "mainwindowdriver.h"

#include <functional>

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <algorithm>

namespace {
void collectTexts(QQuickItem *item, QList<QQuickItem *> &texts)
{
    // Labels and Text items both inherit the text item, and only they have this signal.
    if (item->metaObject()->indexOfSignal("linkActivated(QString)") >= 0)
        texts.append(item);
    for (QQuickItem *child : item->childItems())
        collectTexts(child, texts);
}
} // namespace

MainWindowDriver::MainWindowDriver(QObject *root)
    : m_root(root), m_window(qobject_cast<QQuickWindow *>(root))
{
}

QObject *MainWindowDriver::byId(const QString &id) const
{
    QQmlExpression expression(qmlContext(m_root), m_root, id);
    const QVariant value = expression.evaluate();
    return expression.hasError() ? nullptr : value.value<QObject *>();
}

QVariant MainWindowDriver::evaluate(const QString &expression) const
{
    QQmlExpression script(qmlContext(m_root), m_root, expression);
    const QVariant value = script.evaluate();
    return script.hasError() ? QVariant(script.error().toString()) : value;
}

QQuickItem *MainWindowDriver::item(QObject *object)
{
    return qobject_cast<QQuickItem *>(object);
}

QPointF MainWindowDriver::centreOf(const QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
}

void MainWindowDriver::click(const QQuickItem *item)
{
    QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, centreOf(item).toPoint());
}

void MainWindowDriver::typeInto(const QString &boxId, const QString &text)
{
    QQuickItem *box = itemById(boxId);
    // The editable box's text field is its content item.
    QQuickItem *field = box->property("contentItem").value<QQuickItem *>();
    click(field);
    QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_window, Qt::Key_Delete);
    for (const char key : text.toLatin1())
        QTest::keyClick(m_window, key);
}

void MainWindowDriver::typePort(const QString &path)
{
    typeInto(QStringLiteral("serial_nameCombo"), path);
}

void MainWindowDriver::typeBaud(const QString &rate)
{
    typeInto(QStringLiteral("serial_boudCombo"), rate);
}

void MainWindowDriver::openPort(const QString &path)
{
    typePort(path);
    click(itemById(QStringLiteral("serialButton")));
}

QQuickItem *MainWindowDriver::knobOf(const QString &stickId) const
{
    // The stick holds its pad and then its knob, the only round one.
    for (QQuickItem *child : itemById(stickId)->childItems()) {
        if (child->property("radius").toReal() > 0)
            return child;
    }
    return nullptr;
}

void MainWindowDriver::holdStick(const QString &stickId, QPointF offset)
{
    m_pointer = centreOf(knobOf(stickId));
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, m_pointer.toPoint());
    // Two steps, so the knob follows even where the first move only starts the drag.
    QTest::mouseMove(m_window, (m_pointer + offset / 2).toPoint());
    m_pointer += offset;
    QTest::mouseMove(m_window, m_pointer.toPoint());
    m_holding = true;
}

void MainWindowDriver::releaseStick()
{
    if (!m_holding)
        return;
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, m_pointer.toPoint());
    m_holding = false;
}

QList<QQuickItem *> MainWindowDriver::angleLabels() const
{
    QList<QQuickItem *> texts;
    QQuickItem *group = itemById(QStringLiteral("gimbalImuInfoGb"));
    collectTexts(group, texts);
    std::sort(texts.begin(), texts.end(), [](const QQuickItem *a, const QQuickItem *b) {
        const QPointF pa = a->mapToScene(QPointF()), pb = b->mapToScene(QPointF());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return texts;
}

QStringList MainWindowDriver::angleTexts() const
{
    const QList<QQuickItem *> labels = angleLabels();
    QStringList values;
    for (const QQuickItem *label : labels.mid(labels.size() - 3))
        values.append(label->property("text").toString());
    return values;
}

QQuickItem *MainWindowDriver::named(const QString &objectName) const
{
    std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *item) -> QQuickItem * {
        if (item->objectName() == objectName)
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = find(child))
                return found;
        }
        return nullptr;
    };
    return find(m_window->contentItem());
}
