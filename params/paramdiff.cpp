#include "paramdiff.h"

#include <QHash>

ParamComparison compareParams(const QVector<ParamValue> &device,
                              const QVector<ParamFileEntry> &file, ParamEncoding encoding)
{
    QHash<QString, int> indexOf;
    for (int i = 0; i < device.size(); ++i)
        indexOf.insert(device[i].name(), i);

    ParamComparison comparison;
    for (const ParamFileEntry &entry : file) {
        const auto found = indexOf.constFind(entry.name);
        if (found == indexOf.constEnd()) {
            comparison.unknown.append(entry);
            continue;
        }
        const ParamValue &held = device[*found];
        QString why;
        const std::optional<ParamValue> wanted =
            ParamValue::parse(held.name(), entry.value, held.type(), &why);
        if (!wanted) {
            comparison.misfits.append({entry, why});
        } else if (!wanted->survives(encoding)) {
            comparison.misfits.append(
                {entry, QCoreApplication::translate("ParamDiff", "%1 无法经 4 字节的值字段准确传送")
                            .arg(wanted->text())});
        } else if (!wanted->sameValue(held)) {
            comparison.changes.append({held, *wanted});
        }
    }
    return comparison;
}
