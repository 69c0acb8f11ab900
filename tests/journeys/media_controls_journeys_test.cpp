// The desktop's media controls while the user plays a recording: what the
// desktop reads on the session bus and what its commands do. The desktop is
// played by a second connection to the bus, so that every call goes through
// the bus daemon as a panel applet's would. Run inside dbus-run-session
// (ctest does); without a session bus the cases are skipped.
#include "journeys/journey.h"

#include "data/media_records.h"
#include "data/taxa.h"
#include "listview/windows/child_form.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

using testing_support::Journey;

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace

// Keeps what the player announces.
class BusListener : public QObject {
    Q_OBJECT
  public:
    QStringList statuses;
    QList<qlonglong> seeks;

  public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer && changed.contains(QStringLiteral("PlaybackStatus")))
            statuses << changed.value(QStringLiteral("PlaybackStatus")).toString();
    }
    void seeked(qlonglong position) { seeks << position; }
};

class MediaControlsJourney : public Journey {
  protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected()) {
            if (qEnvironmentVariableIsSet("KORVELAN_REQUIRE_SESSION_BUS"))
                FAIL() << "no session bus inside dbus-run-session";
            GTEST_SKIP() << "no session bus: run inside dbus-run-session (ctest's "
                            "media_controls_journeys_on_session_bus does)";
        }
        Journey::SetUp();
    }
    void TearDown() override {
        Journey::TearDown();
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    }

    QDBusConnection desktop() {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
    }
    // A call from the desktop, answered while the program's events run.
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = desktop().asyncCall(message, 5000);
        eventually([&] { return pending.isFinished(); });
        return pending.reply();
    }
    QVariant property(const QString& name) {
        const QDBusMessage reply = call(bus_name_, kPath, kProperties, QStringLiteral("Get"),
                                        {kPlayer, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
    // The MPRIS names this process holds on the bus.
    QStringList ourNames() {
        const QDBusMessage reply =
            call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                 QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
        QStringList ours;
        if (reply.arguments().isEmpty()) return ours;
        for (const QString& name : reply.arguments().first().toStringList()) {
            if (!name.startsWith(QStringLiteral("org.mpris.MediaPlayer2.korvelan"))) continue;
            const QDBusMessage pid = call(
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"),
                {name});
            if (!pid.arguments().isEmpty() &&
                pid.arguments().first().toLongLong() == QCoreApplication::applicationPid())
                ours << name;
        }
        return ours;
    }
    qlonglong position() { return property(QStringLiteral("Position")).toLongLong(); }

    QString bus_name_;
};

TEST_F(MediaControlsJourney, TheDesktopSeesWhatPlaysAndItsCommandsPauseSeekAndStopIt) {
    EXPECT_TRUE(ourNames().isEmpty()) << "on the bus before anything played";
    unfoldFirstSpecies();
    Tsound_bar* button = recordingButton(1);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(&button->button(), Qt::LeftButton);
    ASSERT_TRUE(eventually([&] { return button->is_playing(); }));

    ASSERT_TRUE(eventually([&] { return !ourNames().isEmpty(); })) << "never joined the bus";
    bus_name_ = ourNames().first();
    EXPECT_EQ(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));

    const QVariantMap metadata = qdbus_cast<QVariantMap>(property(QStringLiteral("Metadata")));
    const Tspecies* species = button->recording().species;
    ASSERT_NE(species, nullptr);
    const QString title = metadata.value(QStringLiteral("xesam:title")).toString();
    EXPECT_TRUE(title.contains(species->common_name)) << title.toStdString();
    EXPECT_TRUE(title.contains(button->cut_part().catalogue_text().trimmed())) << title.toStdString();
    EXPECT_EQ(title, title.trimmed()) << "a desktop shows the title as it comes";
    const qlonglong length = metadata.value(QStringLiteral("mpris:length")).toLongLong();
    EXPECT_EQ(length, qlonglong(button->bar().maximum()) * 100'000);
    ASSERT_GT(length, 3'000'000) << "the demo's first recording is too short to seek in";
    const QString trackId = qdbus_cast<QDBusObjectPath>(metadata.value(QStringLiteral("mpris:trackid"))).path();
    EXPECT_TRUE(trackId.startsWith(QStringLiteral("/org/korvelan/Track/"))) << trackId.toStdString();

    const qlonglong first = position();
    EXPECT_TRUE(eventually([&] { return position() > first + 100'000; })) << "the position stands still";

    BusListener listener;
    QDBusConnection bus = desktop();
    ASSERT_TRUE(bus.connect(bus_name_, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                            &listener, SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(bus.connect(bus_name_, kPath, kPlayer, QStringLiteral("Seeked"), &listener,
                            SLOT(seeked(qlonglong))));

    // The media key's play/pause.
    call(bus_name_, kPath, kPlayer, QStringLiteral("PlayPause"));
    EXPECT_TRUE(eventually([&] { return !button->is_playing(); })) << "the button plays on";
    EXPECT_TRUE(eventually([&] { return listener.statuses.contains(QStringLiteral("Paused")); }))
        << listener.statuses.join(u',').toStdString();
    EXPECT_EQ(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));

    // Seeking two seconds on from where it paused moves the button's bar.
    const qlonglong paused = position();
    const int barBefore = button->bar().value();
    call(bus_name_, kPath, kPlayer, QStringLiteral("Seek"), {qlonglong(1'500'000)});
    ASSERT_TRUE(eventually([&] { return !listener.seeks.isEmpty(); })) << "no Seeked signal";
    EXPECT_NEAR(double(listener.seeks.last()), double(paused + 1'500'000), 150'000.0);
    EXPECT_NEAR(double(position()), double(paused + 1'500'000), 150'000.0);
    EXPECT_NEAR(button->bar().value(), barBefore + 15, 1);

    // Play again: it goes on from there.
    call(bus_name_, kPath, kPlayer, QStringLiteral("PlayPause"));
    EXPECT_TRUE(eventually([&] { return button->is_playing(); }));
    EXPECT_GE(position(), paused + 1'400'000);
    EXPECT_TRUE(eventually([&] { return listener.statuses.endsWith(QStringLiteral("Playing")); }));

    call(bus_name_, kPath, kPlayer, QStringLiteral("Stop"));
    EXPECT_TRUE(eventually([&] { return !button->opened() && !button->is_playing(); }));
    EXPECT_TRUE(eventually([&] { return listener.statuses.endsWith(QStringLiteral("Stopped")); }));
    EXPECT_EQ(position(), 0);

    // The end of the program takes the name off the bus.
    Journey::TearDown();
    EXPECT_TRUE(ourNames().isEmpty()) << ourNames().join(u' ').toStdString();
}

#include "media_controls_journeys_test.moc"
