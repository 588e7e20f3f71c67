// Parameter values as users and files spell them: what may be typed for each type, what fields
// from other senders read as, and how either shows; each integer type in the float field under
// both encodings; the encoding chosen for a component; a file in either format, or written by
// the tool, loaded against the device, every faulty line reported. Run again in a German locale:
// its decimal comma changes nothing.
#include "paramdiff.h"
#include "paramfile.h"

#include <QtTest>

#include <cstring>

namespace {
const ParamEncoding bytewise = ParamEncoding::Bytewise;
const ParamEncoding cCast = ParamEncoding::CCast;

ParamValue value(const QString &name, int type, const QString &text)
{
    return *ParamValue::parse(name, text, std::uint8_t(type));
}
} // namespace

class TestParamValues : public QObject
{
    Q_OBJECT

private slots:
    void fromOutside_data();
    void fromOutside();
    void encodingChoice_data();
    void encodingChoice();
    void loading_data();
    void loading();
};

void TestParamValues::fromOutside_data()
{
    // What the user typed, or a field "byte-wise:" or "C-cast:" and its bytes.
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("shown"); // empty: refused
    // For a typed value: the field's bytes, byte-wise then C-cast, each marked "~" where reading
    // it back does not give the value again.
    QTest::addColumn<QStringList>("fields");

    // Lowest, highest, one below, one above; UINT8 to INT64.
    const QStringList limits = QString("0 255 -1 256 -128 127 -129 128 0 65535 -1 65536 -32768 "
                                       "32767 -32769 32768 0 4294967295 -1 4294967296 -2147483648 "
                                       "2147483647 -2147483649 2147483648 0 18446744073709551615 "
                                       "-1 18446744073709551616 -9223372036854775808 "
                                       "9223372036854775807 -9223372036854775809 "
                                       "9223372036854775808")
                                   .split(' ');
    for (int i = 0; i < limits.size(); ++i) {
        const int type = MAV_PARAM_TYPE_UINT8 + i / 4;
        QTest::addRow("%s %s", qPrintable(ParamValue::typeName(type)), qPrintable(limits[i]))
            << limits[i] << type << (i % 4 < 2 ? limits[i] : QString()) << QStringList();
    }
    QTest::newRow("integer: a fraction of zeros") << " +5.00 " << 6 << "5" << QStringList();
    QTest::newRow("integer: a real fraction") << "5.5" << 6 << QString() << QStringList();
    QTest::newRow("REAL32: shortest text") << "0.30000001" << 9 << "0.3" << QStringList();
    QTest::newRow("REAL32: 1e39") << "1e39" << 9 << QString() << QStringList();
    QTest::newRow("REAL32: nan") << "nan" << 9 << QString() << QStringList();
    QTest::newRow("REAL32: decimal comma") << "1,5" << 9 << QString() << QStringList();
    QTest::newRow("REAL64: 1e400") << "1e400" << 10 << QString() << QStringList();
    QTest::newRow("INT8 sign-extended to 32 bits")
        << "byte-wise:ffffffff" << 2 << "-1" << QStringList();
    QTest::newRow("C-cast INT32 NaN") << "C-cast:0000c07f" << 6 << "0" << QStringList();
    QTest::newRow("C-cast INT64 +inf")
        << "C-cast:0000807f" << 8 << "9223372036854775807" << QStringList();
    QTest::newRow("UINT8 200") << "200" << 1 << "200" << QStringList{"c8000000", "00004843"};
    QTest::newRow("INT8 -1: its own byte")
        << "-1" << 2 << "-1" << QStringList{"ff000000", "000080bf"};
    QTest::newRow("UINT16 65535") << "65535" << 3 << "65535" << QStringList{"ffff0000", "00ff7f47"};
    QTest::newRow("INT16 -2") << "-2" << 4 << "-2" << QStringList{"feff0000", "000000c0"};
    QTest::newRow("UINT32 highest")
        << "4294967295" << 5 << "4294967295" << QStringList{"ffffffff", "0000804f~"};
    QTest::newRow("INT32 5: a denormal") << "5" << 6 << "5" << QStringList{"05000000", "0000a040"};
    QTest::newRow("INT32 2^24 + 1")
        << "16777217" << 6 << "16777217" << QStringList{"01000001", "0000804b~"};
    QTest::newRow("UINT64 2^32") << "4294967296" << 7 << "4294967296"
                                 << QStringList{"00000000~", "0000804f"};
    QTest::newRow("INT64 -3") << "-3" << 8 << "-3" << QStringList{"fdffffff", "000040c0"};
}

void TestParamValues::fromOutside()
{
    QFETCH(QString, input);
    QFETCH(int, type);
    QFETCH(QString, shown);
    QFETCH(QStringList, fields);

    const QStringList field = input.split(':');
    if (field.size() == 2) {
        float f = 0;
        std::memcpy(&f, QByteArray::fromHex(field[1].toLatin1()).constData(), sizeof f);
        const ParamEncoding encoding = field[0] == "C-cast" ? cCast : bytewise;
        QCOMPARE(ParamValue::fromField("P", std::uint8_t(type), f, encoding).text(), shown);
        return;
    }
    QString error;
    const std::optional<ParamValue> typed =
        ParamValue::parse(QStringLiteral("P"), input, std::uint8_t(type), &error);
    QCOMPARE(typed ? typed->text() : QString(), shown);
    // Every refusal says why, and only a refusal.
    QCOMPARE(error.isEmpty(), bool(typed));
    for (const ParamEncoding encoding : {bytewise, cCast}) {
        if (fields.isEmpty())
            break;
        const bool exact = !fields[int(encoding)].endsWith('~');
        const float sent = typed->toField(encoding);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&sent), 4).toHex(),
                 fields[int(encoding)].left(8).toLatin1());
        QCOMPARE(typed->survives(encoding), exact);
        if (exact)
            QVERIFY(ParamValue::fromField("P", std::uint8_t(type), sent, encoding) == *typed);
    }
}

void TestParamValues::encodingChoice_data()
{
    QTest::addColumn<qlonglong>("capabilities"); // -1: no AUTOPILOT_VERSION
    QTest::addColumn<int>("autopilot");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("announced byte-wise over the autopilot's C-cast")
        << 20LL << 3 << 2 << "byte-wise encoding (announced in AUTOPILOT_VERSION)";
    QTest::newRow("announced C-cast over the autopilot's byte-wise")
        << 131072LL << 12 << 2 << "C-cast encoding (announced in AUTOPILOT_VERSION)";
    QTest::newRow("capabilities naming neither: ArduPilot")
        << 4LL << 3 << 2 << "C-cast encoding (ArduPilot autopilot)";
    QTest::newRow("PX4") << -1LL << 12 << 2 << "byte-wise encoding (PX4 autopilot)";
    QTest::newRow("v2 gimbal device") << -1LL << 8 << 26 << "byte-wise encoding (v2 gimbal device)";
}

void TestParamValues::encodingChoice()
{
    QFETCH(qlonglong, capabilities);
    QFETCH(int, autopilot);
    QFETCH(int, type);
    QFETCH(QString, text);

    const ParamEncodingChoice choice = chooseParamEncoding(
        capabilities < 0 ? std::nullopt : std::optional<std::uint64_t>(capabilities),
        std::uint8_t(autopilot), std::uint8_t(type));
    QCOMPARE(choice.text, text);
    QCOMPARE(choice.encoding, text.startsWith("C-cast") ? cCast : bytewise);
}

void TestParamValues::loading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("report");

    QTest::newRow("written by the tool")
        << paramFileText({value("GAIN", 9, "0.2"), value("LARGE", 6, "-16777216")}, 1, 154)
        << QStringList{"GAIN 0.1 0.2", "LARGE 16777216 -16777216"};
    QTest::newRow("name,value with a BOM, comments and CR LF; the same float is no change")
        << QByteArray("\xEF\xBB\xBF# saved\r\nGAIN,0.100000001490116\r\n\r\nCOUNT, 201 \r\n")
        << QStringList{"COUNT 200 201"};
    QTest::newRow("tab-separated: each faulty line by its number, types the device's")
        << QByteArray("# Vehicle-Id\tComponent-Id\tName\tValue\tType\n1\t1\tGAIN\t0.2\t9\n"
                      "1\t1\tSMALL\t128\t2\n1\t1\tSHORT\t1\n1\t154\tOTHER\t1\t9\n"
                      "1\t1\tGAIN\t2\t9\n1\t1\tTYPE\t1\t11\n1\t1\tCOUNT\t7\t9\n")

        << QStringList{
               "Line 3: \"128\" is outside the range of INT8 (-128 to 127)",
               "Line 4: expected five tab-separated fields: system, component, name, value, type",
               "Line 5: component 1/154 differs from 1/1 on line 2",
               "Line 6: GAIN already appears on line 2",
               "Line 7: \"11\" is not a parameter type (1 to 10)",
               "GAIN 0.1 0.2",
               "COUNT 200 7"};
    QTest::newRow("name,value: the first line's format holds; unknown names, values unfit")
        << QByteArray("NOPE,1\nB,1,2\nC\t1\nSEVENTEEN_LETTERS,1\nCOUNT,256\nGAIN,1e39\n")

        << QStringList{"Line 2: expected name,value",
                       "Line 3: expected name,value",
                       "Line 4: \"SEVENTEEN_LETTERS\" is not a parameter name (1 to 16 ASCII "
                       "characters, no spaces)",
                       "unknown NOPE",
                       "misfit COUNT",
                       "misfit GAIN"};
    QTest::newRow("2^24 + 1 cannot cross a C-cast field")
        << QByteArray("LARGE,16777217\n") << QStringList{"misfit LARGE"};
}

void TestParamValues::loading()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, report);

    // A C-cast device: 2^24 + 1 does not reach it.
    const QVector<ParamValue> device{value("GAIN", 9, "0.1"), value("COUNT", 1, "200"),
                                     value("LARGE", 6, "16777216")};
    const ParamFileContents contents = readParamFile(file);
    const ParamComparison comparison = compareParams(device, contents.entries, cCast);
    QStringList got = contents.problems;
    for (const ParamChange &c : comparison.changes)
        got.append(c.device.name() + ' ' + c.device.text() + ' ' + c.file.text());
    for (const ParamFileEntry &entry : comparison.unknown)
        got.append("unknown " + entry.name);
    for (const ParamMisfit &misfit : comparison.misfits)
        got.append("misfit " + misfit.entry.name + (misfit.why.isEmpty() ? " without why" : ""));
    QCOMPARE(got, report);
}

QTEST_GUILESS_MAIN(TestParamValues)
#include "tst_paramvalues.moc"
