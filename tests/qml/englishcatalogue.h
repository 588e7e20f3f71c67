// The built English catalogue ":/en_us.qm" for the component tests: installed, qsTr texts of
// objects created afterwards read English; removed, they read their Chinese sources again.
#pragma once

#include <QObject>
#include <QTranslator>

class EnglishCatalogue : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool installed READ installed WRITE setInstalled NOTIFY installedChanged)

public:
    ~EnglishCatalogue() override;

    bool installed() const { return m_installed; }
    void setInstalled(bool installed);

signals:
    void installedChanged();

private:
    QTranslator m_translator;
    bool m_installed = false;
};
