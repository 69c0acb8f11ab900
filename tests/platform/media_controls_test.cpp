// The media controls' service on a real session bus (ctest runs these inside
// dbus-run-session), asked by a second connection as a desktop asks.
#include "platform/media_controls.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QTest>

using platform::MediaControls;
using platform::MediaTrack;
using platform::PlaybackState;

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

bool within(int ms, const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

// A player with a playhead and a log of the commands it got.
struct FakePlayer {
    std::int64_t at = 0;
    QStringList log;
    MediaControls::Commands commands() {
        return {.play = [this] { log << "play"; },
                .pause = [this] { log << "pause"; },
                .stop = [this] { log << "stop"; },
                .set_position = [this](std::int64_t us) {
                    at = us;
                    log << QStringLiteral("to %1").arg(us);
                },
                .position = [this] { return at; },
                .raise = {}};
    }
};

class MediaControlsOnBus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected()) {
            if (qEnvironmentVariableIsSet("KORVELAN_REQUIRE_SESSION_BUS"))
                FAIL() << "no session bus inside dbus-run-session";
            GTEST_SKIP() << "no session bus: run inside dbus-run-session (ctest's "
                            "media_controls_on_session_bus does)";
        }
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("desktop")); }

    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"))
                .asyncCall(message, 5000);
        within(5000, [&] { return pending.isFinished(); });
        return pending.reply();
    }
    bool nameOnBus(const QString& name) {
        const QDBusMessage reply =
            call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                 QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"), {name});
        return !reply.arguments().isEmpty() && reply.arguments().first().toBool();
    }
    QVariant property(const QString& service, const QString& interface, const QString& name) {
        const QDBusMessage reply = call(service, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {interface, name});
        if (reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
};

MediaTrack aTrack() {
    return {.id = QStringLiteral("r12_B-7"), .title = QStringLiteral("Tinamou – Recording B-7"),
            .artist = {}, .length_us = 10'000'000};
}

}  // namespace

TEST_F(MediaControlsOnBus, JoinsWhenPlayingAndLeavesAfterTheIdleTimeOnly) {
    FakePlayer player;
    MediaControls controls(player.commands(), std::chrono::milliseconds(400), QStringLiteral("korvelantest"));
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.korvelantest");

    controls.update(aTrack(), PlaybackState::Paused);
    EXPECT_TRUE(controls.bus_name().isEmpty()) << "joined before anything played";
    controls.update(aTrack(), PlaybackState::Playing);
    ASSERT_EQ(controls.bus_name(), name);
    EXPECT_TRUE(nameOnBus(name));
    EXPECT_EQ(property(name, QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")).toString(),
              QStringLiteral("Korvelan"));

    // Paused a while, then playing again before the idle time ends: it stays.
    controls.update(aTrack(), PlaybackState::Paused);
    QTest::qWait(200);
    controls.update(aTrack(), PlaybackState::Playing);
    controls.update(aTrack(), PlaybackState::Stopped);
    QTest::qWait(250);
    EXPECT_TRUE(nameOnBus(name)) << "left before the idle time since the last playing";
    EXPECT_TRUE(within(2000, [&] { return !nameOnBus(name); })) << "never left the bus";
    EXPECT_TRUE(controls.bus_name().isEmpty());

    controls.update(aTrack(), PlaybackState::Playing);
    EXPECT_TRUE(nameOnBus(name)) << "did not come back when playing again";
}

TEST_F(MediaControlsOnBus, SeeksStayInsideTheTrackAndNameIt) {
    FakePlayer player;
    MediaControls controls(player.commands(), std::chrono::seconds(60), QStringLiteral("korvelantest"));
    controls.update(aTrack(), PlaybackState::Playing);
    const QString name = controls.bus_name();
    ASSERT_FALSE(name.isEmpty());

    player.at = 4'000'000;
    call(name, kPath, kPlayer, QStringLiteral("Seek"), {qlonglong(-5'000'000)});
    EXPECT_EQ(player.at, 0) << "a seek before the start begins at the start";
    call(name, kPath, kPlayer, QStringLiteral("Seek"), {qlonglong(2'500'000)});
    EXPECT_EQ(player.at, 2'500'000);
    EXPECT_EQ(property(name, kPlayer, QStringLiteral("Position")).toLongLong(), 2'500'000);

    // SetPosition names the track: a stale id (the desktop's view of an
    // earlier recording) or a place beyond the end is ignored.
    player.log.clear();
    call(name, kPath, kPlayer, QStringLiteral("SetPosition"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/korvelan/Track/r12_B_6"))), qlonglong(1'000'000)});
    const QVariantMap metadata = qdbus_cast<QVariantMap>(property(name, kPlayer, QStringLiteral("Metadata")));
    const QDBusObjectPath track = qdbus_cast<QDBusObjectPath>(metadata.value(QStringLiteral("mpris:trackid")));
    EXPECT_EQ(track.path(), QStringLiteral("/org/korvelan/Track/r12_B_7"));
    call(name, kPath, kPlayer, QStringLiteral("SetPosition"),
         {QVariant::fromValue(track), qlonglong(11'000'000)});
    EXPECT_TRUE(player.log.isEmpty()) << player.log.join(u',').toStdString();
    call(name, kPath, kPlayer, QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(7'000'000)});
    EXPECT_EQ(player.log, QStringList{QStringLiteral("to 7000000")});

    // Past the end is the end of the track.
    call(name, kPath, kPlayer, QStringLiteral("Seek"), {qlonglong(5'000'000)});
    EXPECT_EQ(player.log.last(), QStringLiteral("stop"));

    // PlayPause follows the state it was told.
    player.log.clear();
    call(name, kPath, kPlayer, QStringLiteral("PlayPause"));
    controls.update(aTrack(), PlaybackState::Paused);
    call(name, kPath, kPlayer, QStringLiteral("PlayPause"));
    EXPECT_EQ(player.log, (QStringList{QStringLiteral("pause"), QStringLiteral("play")}));

    // A recording of unknown length cannot be sought in.
    controls.update({.id = QStringLiteral("r1_x"), .title = QStringLiteral("x"), .artist = {}, .length_us = 0},
                    PlaybackState::Playing);
    EXPECT_FALSE(property(name, kPlayer, QStringLiteral("CanSeek")).toBool());
    player.log.clear();
    call(name, kPath, kPlayer, QStringLiteral("Seek"), {qlonglong(1'000'000)});
    EXPECT_TRUE(player.log.isEmpty());
}
