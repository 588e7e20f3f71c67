#include "paramfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

#include <optional>

namespace {
// A parameter file of thousands of parameters has some 100 kB; anything far larger is some other
// file, picked by mistake.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// What the param_id field can carry, and what the two formats can hold in one field.
bool isParamName(const QString &name)
{
    static const QRegularExpression word(QStringLiteral("^[!-~]{1,16}$"));
    return word.match(name).hasMatch();
}

std::optional<int> numberOf(const QString &field, int low, int high)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    const int n = field.toInt();
    if (!digits.match(field).hasMatch() || n < low || n > high)
        return std::nullopt;
    return n;
}

// Fills `entry` and `ids` from the fields of a tab-separated line; returns what is wrong, if
// anything.
QString readTabLine(const QStringList &fields, ParamFileEntry &entry, QPair<int, int> &ids)
{
    if (fields.size() != 5) {
        return QCoreApplication::translate(
            "ParamFile", "应为五个以制表符分隔的字段：系统、组件、名称、值、类型");
    }
    for (int i : {0, 1}) {
        if (!numberOf(fields[i], 0, 255))
            return QCoreApplication::translate("ParamFile", "“%1”不是 0 至 255 的编号")
                .arg(fields[i]);
    }
    ids = {fields[0].toInt(), fields[1].toInt()};
    entry.name = fields[2];
    entry.value = fields[3];
    const std::optional<int> type =
        numberOf(fields[4], MAV_PARAM_TYPE_UINT8, MAV_PARAM_TYPE_REAL64);
    if (!type)
        return QCoreApplication::translate("ParamFile", "“%1”不是参数类型（1 至 10）")
            .arg(fields[4]);
    entry.type = std::uint8_t(*type);
    return QString();
}

QString readCommaLine(const QStringList &fields, ParamFileEntry &entry)
{
    if (fields.size() != 2)
        return QCoreApplication::translate("ParamFile", "应为“名称,值”");
    entry.name = fields[0];
    entry.value = fields[1];
    return QString();
}

// What is wrong with the name and the value of an entry read from its fields, if anything.
QString checkEntry(const ParamFileEntry &entry)
{
    if (!isParamName(entry.name)) {
        return QCoreApplication::translate("ParamFile",
                                           "“%1”不是参数名（1 至 16 个 ASCII 字符，不含空格）")
            .arg(entry.name);
    }
    // Without a type, a value only has to be a number; it meets its type in the comparison
    // with the device's parameters.
    QString why;
    ParamValue::parse(entry.name, entry.value,
                      entry.type ? entry.type : std::uint8_t(MAV_PARAM_TYPE_REAL64), &why);
    return why;
}
} // namespace

QByteArray paramFileText(const QVector<ParamValue> &values, int systemId, int componentId)
{
    QString text = QStringLiteral("# Vehicle-Id\tComponent-Id\tName\tValue\tType\n");
    const QString ids = QString::number(systemId) + QLatin1Char('\t') +
                        QString::number(componentId) + QLatin1Char('\t');
    for (const ParamValue &value : values) {
        text += ids + value.name() + QLatin1Char('\t') + value.text() + QLatin1Char('\t') +
                QString::number(value.type()) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

ParamFileContents readParamFile(const QByteArray &bytes)
{
    ParamFileContents contents;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QVector<QStringRef> lines = text.splitRef(QLatin1Char('\n'));
    std::optional<bool> tabSeparated;
    // The component of the first line of a tab-separated file, and that line.
    std::optional<QPair<int, int>> firstIds;
    int firstIdsLine = 0;
    QHash<QString, int> lineOfName;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].toString().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (!tabSeparated)
            tabSeparated = line.contains(QLatin1Char('\t'));
        ParamFileEntry entry;
        entry.line = i + 1;
        QStringList fields = line.split(*tabSeparated ? QLatin1Char('\t') : QLatin1Char(','));
        for (QString &field : fields)
            field = field.trimmed();
        QPair<int, int> ids;
        QString why =
            *tabSeparated ? readTabLine(fields, entry, ids) : readCommaLine(fields, entry);
        if (why.isEmpty())
            why = checkEntry(entry);
        if (why.isEmpty() && *tabSeparated && firstIds && ids != *firstIds) {
            why = QCoreApplication::translate("ParamFile", "组件 %1/%2 与第 %3 行的 %4/%5 不同")
                      .arg(ids.first)
                      .arg(ids.second)
                      .arg(firstIdsLine)
                      .arg(firstIds->first)
                      .arg(firstIds->second);
        }
        if (why.isEmpty() && lineOfName.contains(entry.name)) {
            why = QCoreApplication::translate("ParamFile", "%1 已在第 %2 行出现")
                      .arg(entry.name)
                      .arg(lineOfName.value(entry.name));
        }
        if (!why.isEmpty()) {
            contents.problems.append(
                QCoreApplication::translate("ParamFile", "第 %1 行：%2").arg(entry.line).arg(why));
            continue;
        }
        if (*tabSeparated && !firstIds) {
            firstIds = ids;
            firstIdsLine = entry.line;
        }
        lineOfName.insert(entry.name, entry.line);
        contents.entries.append(entry);
    }
    return contents;
}

QString saveParamFile(const QString &path, const QVector<ParamValue> &values, int systemId,
                      int componentId)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(paramFileText(values, systemId, componentId)) < 0 || !file.commit()) {
        return QCoreApplication::translate("ParamFile", "无法保存 %1：%2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return QString();
}

ParamFileContents loadParamFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{},
                {QCoreApplication::translate("ParamFile", "无法读取 %1：%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString())}};
    }
    if (file.size() > kMaxFileBytes) {
        return {{},
                {QCoreApplication::translate("ParamFile", "%1 不是参数文件：大于 %2 MiB")
                     .arg(QDir::toNativeSeparators(path))
                     .arg(kMaxFileBytes / (1024 * 1024))}};
    }
    return readParamFile(file.readAll());
}
