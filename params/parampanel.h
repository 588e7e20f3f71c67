// What the Parameters view shows and does, for QML to bind to: the components that answered and
// the one picked, its download's progress and time, the encoding and what decided it, the table
// of its parameters, writing what was typed, saving to a file, and loading one: the difference
// list first, then writing only the changes. Every write ends in the writer's summary.
#pragma once

#include "paramchanges.h"
#include "paramtable.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

class ParamClient;
class ParamComponent;

class ParamPanel : public QObject
{
    Q_OBJECT
    // The view is open: the components are asked for their parameters.
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(QStringList components READ components NOTIFY componentsChanged)
    Q_PROPERTY(int current READ current WRITE setCurrent NOTIFY currentChanged)
    // The picked component's download: values received of the count it announced.
    Q_PROPERTY(int received READ received NOTIFY progressChanged)
    Q_PROPERTY(int count READ count NOTIFY progressChanged)
    Q_PROPERTY(bool downloading READ downloading NOTIFY progressChanged)
    // "80 / 88 · 0.4 s", and what the download and the encoding came to.
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY progressChanged)
    Q_PROPERTY(bool hasValues READ hasValues NOTIFY progressChanged)
    Q_PROPERTY(bool complete READ complete NOTIFY progressChanged)
    Q_PROPERTY(bool writing READ writing NOTIFY progressChanged)
    // The last outcome for the user: a write's summary, a file saved, a file that would not load.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    // A loaded file's difference list is shown, waiting for "Write changes".
    Q_PROPERTY(bool previewing READ previewing NOTIFY previewChanged)
    Q_PROPERTY(QString previewText READ previewText NOTIFY previewChanged)
    // There are changes, and the file was read whole.
    Q_PROPERTY(bool canWriteChanges READ canWriteChanges NOTIFY previewChanged)
    // Where the picked component's file goes unless the user says otherwise: the home folder,
    // named after the component.
    Q_PROPERTY(QString suggestedFile READ suggestedFile NOTIFY currentChanged)
    Q_PROPERTY(ParamTable *table READ table CONSTANT)
    Q_PROPERTY(ParamChanges *changes READ changes CONSTANT)

public:
    explicit ParamPanel(ParamClient &client, QObject *parent = nullptr);

    bool active() const { return m_active; }
    void setActive(bool active);
    QStringList components() const;
    int current() const { return m_current; }
    void setCurrent(int index);
    int received() const;
    int count() const;
    bool downloading() const;
    QString progressText() const;
    QString statusText() const;
    bool hasValues() const;
    bool complete() const;
    bool writing() const;
    QString message() const { return m_message; }
    bool previewing() const { return m_previewing; }
    QString previewText() const { return m_changes.summary(); }
    bool canWriteChanges() const;
    QString suggestedFile() const;
    ParamTable *table() { return &m_table; }
    ParamChanges *changes() { return &m_changes; }

    // Downloads the picked component's set again.
    Q_INVOKABLE void refresh();
    // Takes `text` as the value to write to the table's `row`; false, with the reason as the
    // message, when it does not fit the parameter.
    Q_INVOKABLE bool edit(int row, const QString &text);
    // Writes the values typed into the table.
    Q_INVOKABLE void writeEdits();
    // The picked component's values into the file at `path`, tab-separated; false, with the
    // reason as the message, when it cannot.
    Q_INVOKABLE bool save(const QString &path);
    // Reads the file at `path` and shows what it would change; writes nothing.
    Q_INVOKABLE void load(const QString &path);
    // Writes the changes of the loaded file, and closes the preview.
    Q_INVOKABLE void writeChanges();
    Q_INVOKABLE void closePreview();

signals:
    void activeChanged();
    void componentsChanged();
    void currentChanged();
    void progressChanged();
    void messageChanged();
    void previewChanged();

private:
    ParamComponent *picked() const;
    void answeredChanged();
    void componentChanged(ParamComponent *component);
    void writeEnded(ParamComponent *component);
    void showValues();
    void setMessage(const QString &message);
    void write(const QVector<ParamValue> &values);

    ParamClient &m_client;
    ParamTable m_table;
    ParamChanges m_changes;
    bool m_active = false;
    int m_current = -1;
    bool m_previewing = false;
    QString m_message;
    // Moves the time taken on while a download runs.
    QTimer m_clockTick;
};
