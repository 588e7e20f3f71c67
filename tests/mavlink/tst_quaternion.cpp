// Euler angles (3-2-1) and quaternions: the axis and sign conventions, round trips, the gimbal
// lock and quaternions that are not unit length or not numbers.
#include "quaternion.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {
constexpr float pi = 3.14159265f;
const float NaN = std::numeric_limits<float>::quiet_NaN();

// The same rotation: q and -q are one attitude.
bool sameRotation(const float a[4], const float b[4])
{
    const double dot =
        double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2] + double(a[3]) * b[3];
    return std::fabs(std::fabs(dot) - 1.0) < 1e-6;
}
} // namespace

class TestQuaternion : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void gimbalLock_data();
    void gimbalLock();
    void notARotation_data();
    void notARotation();
};

void TestQuaternion::roundTrip_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<QVector<float>>("q");

    // Where q is given, the axes and signs are pinned too; the others only go there and back.
    const float h = 0.70710678f;
    QTest::newRow("level") << 0.0f << 0.0f << 0.0f << QVector<float>{1, 0, 0, 0};
    QTest::newRow("roll right 60 degrees: about x")
        << pi / 3 << 0.0f << 0.0f << QVector<float>{0.8660254f, 0.5f, 0, 0};
    QTest::newRow("pitch down 60 degrees: about y")
        << 0.0f << -pi / 3 << 0.0f << QVector<float>{0.8660254f, 0, -0.5f, 0};
    QTest::newRow("yaw right 90 degrees: about z")
        << 0.0f << 0.0f << pi / 2 << QVector<float>{h, 0, 0, h};
    // Yaw 90, then pitch 60 about the turned y axis: (h,0,0,h)(0.866,0,0.5,0).
    QTest::newRow("yaw then pitch, in that order")
        << 0.0f << pi / 3 << pi / 2
        << QVector<float>{0.8660254f * h, -0.5f * h, 0.5f * h, 0.8660254f * h};
    QTest::newRow("all three") << 0.3f << -0.7f << 2.1f << QVector<float>{};
    QTest::newRow("negative roll and yaw") << -0.6f << 0.2f << -1.2f << QVector<float>{};
    QTest::newRow("yaw near +pi") << 0.0f << 0.1f << 3.13f << QVector<float>{};
    QTest::newRow("yaw near -pi") << 0.1f << 0.0f << -3.13f << QVector<float>{};
    QTest::newRow("roll near pi") << 3.1f << 0.0f << 0.0f << QVector<float>{};
    QTest::newRow("pitch 89.9 degrees, just off the lock")
        << 0.2f << 1.5690510f << -0.4f << QVector<float>{};
    QTest::newRow("pitch -89.9 degrees") << -0.2f << -1.5690510f << 0.4f << QVector<float>{};
    QTest::newRow("tiny angles") << 1e-5f << -2e-5f << 3e-5f << QVector<float>{};
}

void TestQuaternion::roundTrip()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QFETCH(float, yaw);
    QFETCH(QVector<float>, q);

    float got[4];
    mavlink_quaternion_from_euler(roll, pitch, yaw, got);
    for (int i = 0; i < q.size(); ++i)
        QVERIFY2(std::fabs(got[i] - q[i]) < 1e-6f, qPrintable(QString("component %1").arg(i)));
    // Read back from -2q: neither the sign nor the length of q changes the attitude.
    const float scaled[4] = {-2 * got[0], -2 * got[1], -2 * got[2], -2 * got[3]};
    const mavlink_euler_t e = mavlink_euler_from_quaternion(scaled);
    // Near the lock roll and yaw are ill-conditioned: 1e-3 there, float precision elsewhere.
    const float tolerance = std::fabs(pitch) > 1.5f ? 1e-3f : 1e-5f;
    QVERIFY2(std::fabs(e.roll - roll) < tolerance, qPrintable(QString::number(e.roll)));
    QVERIFY2(std::fabs(e.pitch - pitch) < 1e-5f, qPrintable(QString::number(e.pitch)));
    QVERIFY2(std::fabs(e.yaw - yaw) < tolerance, qPrintable(QString::number(e.yaw)));
}

void TestQuaternion::gimbalLock_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("yaw");
    QTest::addColumn<float>("lockedYaw");

    // At +90 only yaw - roll is seen, at -90 yaw + roll.
    QTest::newRow("straight up, roll 0") << 0.0f << pi / 2 << 0.5f << 0.5f;
    QTest::newRow("straight up, roll and yaw") << 0.3f << pi / 2 << 0.5f << 0.2f;
    QTest::newRow("straight down, roll and yaw") << 0.3f << -pi / 2 << 0.5f << 0.8f;
    QTest::newRow("straight down, sum past pi wraps") << 1.0f << -pi / 2 << 3.0f << 4.0f - 2 * pi;
    QTest::newRow("straight up, yaw -pi/2") << 0.0f << pi / 2 << -pi / 2 << -pi / 2;
}

void TestQuaternion::gimbalLock()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QFETCH(float, yaw);
    QFETCH(float, lockedYaw);

    float q[4];
    mavlink_quaternion_from_euler(roll, pitch, yaw, q);
    const mavlink_euler_t e = mavlink_euler_from_quaternion(q);
    QCOMPARE(e.roll, 0.0f);
    QCOMPARE(e.pitch, pitch);
    QVERIFY2(std::fabs(e.yaw - lockedYaw) < 1e-5f, qPrintable(QString::number(e.yaw)));

    float back[4];
    mavlink_quaternion_from_euler(e.roll, e.pitch, e.yaw, back);
    QVERIFY(sameRotation(q, back));
}

void TestQuaternion::notARotation_data()
{
    QTest::addColumn<QVector<float>>("q");

    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("all NaN: no attitude demand") << QVector<float>{NaN, NaN, NaN, NaN};
    QTest::newRow("one NaN") << QVector<float>{1, 0, NaN, 0};
    QTest::newRow("infinite") << QVector<float>{inf, 0, 0, 0};
    QTest::newRow("zero length") << QVector<float>{0, 0, 0, 0};
}

void TestQuaternion::notARotation()
{
    QFETCH(QVector<float>, q);
    const mavlink_euler_t e = mavlink_euler_from_quaternion(q.constData());
    QVERIFY(std::isnan(e.roll));
    QVERIFY(std::isnan(e.pitch));
    QVERIFY(std::isnan(e.yaw));
}

QTEST_APPLESS_MAIN(TestQuaternion)
#include "tst_quaternion.moc"
