#include "platform/media_controls.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>

namespace platform {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString statusText(PlaybackState state) {
    switch (state) {
        case PlaybackState::Playing: return QStringLiteral("Playing");
        case PlaybackState::Paused: return QStringLiteral("Paused");
        case PlaybackState::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

// A track id is an object path: only [A-Za-z0-9_] in its elements.
QString trackPath(const QString& id) {
    QString element;
    for (const QChar c : id)
        element += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_' ? c : QChar(u'_');
    if (element.isEmpty()) return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    return QStringLiteral("/org/korvelan/Track/") + element;
}

}  // namespace

struct MediaControls::Service : QObject {
    Service(Commands c, std::chrono::milliseconds idle, const QString& n)
        : commands(std::move(c)), name(n) {
        idle_timer.setSingleShot(true);
        idle_timer.setInterval(idle);
        QObject::connect(&idle_timer, &QTimer::timeout, this, [this] { leave_bus(); });
    }
    ~Service() override { leave_bus(); }

    bool join_bus();
    void leave_bus();
    void announce(const QString& interface, const QVariantMap& changed);
    QVariantMap metadata() const;
    std::int64_t position() const { return commands.position ? commands.position() : 0; }
    // From a desktop's command: moves the playhead and says where it went.
    void move_to(std::int64_t us);

    Commands commands;
    QString name;
    QString held;  // the bus name held; empty while off the bus
    MediaTrack track;
    PlaybackState state = PlaybackState::Stopped;
    QTimer idle_timer;
    class PlayerAdaptor* player = nullptr;
};

// org.mpris.MediaPlayer2: who the player is.
class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool CanSetFullscreen READ no)
    Q_PROPERTY(bool Fullscreen READ no)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
  public:
    explicit RootAdaptor(MediaControls::Service* service)
        : QDBusAbstractAdaptor(service), service_(service) {}
    // Quitting from the panel would end a field guide the user is reading
    // in; only the sound is the desktop's to control.
    bool canQuit() const { return false; }
    bool canRaise() const { return bool(service_->commands.raise); }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Korvelan"); }
    QString desktopEntry() const { return QStringLiteral("org.korvelan.Korvelan"); }
    QStringList none() const { return {}; }

  public slots:
    void Raise() {
        if (service_->commands.raise) service_->commands.raise();
    }
    void Quit() {}

  private:
    MediaControls::Service* service_;
};

// org.mpris.MediaPlayer2.Player: what plays and the transport.
class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ one)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)
  public:
    explicit PlayerAdaptor(MediaControls::Service* service)
        : QDBusAbstractAdaptor(service), service_(service) {}
    QString playbackStatus() const { return statusText(service_->state); }
    QVariantMap metadata() const { return service_->metadata(); }
    qlonglong position() const { return service_->position(); }
    double one() const { return 1.0; }
    bool no() const { return false; }
    bool yes() const { return true; }
    bool canPlay() const { return bool(service_->commands.play) && !service_->track.id.isEmpty(); }
    bool canPause() const { return bool(service_->commands.pause) && !service_->track.id.isEmpty(); }
    bool canSeek() const {
        return bool(service_->commands.set_position) && service_->track.length_us > 0;
    }

  public slots:
    void PlayPause() {
        if (service_->state == PlaybackState::Playing) Pause();
        else Play();
    }
    void Play() {
        if (service_->commands.play) service_->commands.play();
    }
    void Pause() {
        if (service_->commands.pause) service_->commands.pause();
    }
    void Stop() {
        if (service_->commands.stop) service_->commands.stop();
    }
    void Next() {}
    void Previous() {}
    void OpenUri(const QString&) {}
    void Seek(qlonglong offset) {
        if (!canSeek()) return;
        const std::int64_t target = service_->position() + offset;
        // Beyond the end is the end of the track: it stops.
        if (target >= service_->track.length_us) {
            Stop();
            return;
        }
        service_->move_to(std::max<std::int64_t>(0, target));
    }
    void SetPosition(const QDBusObjectPath& track, qlonglong position) {
        if (!canSeek() || track.path() != trackPath(service_->track.id)) return;
        if (position < 0 || position > service_->track.length_us) return;
        service_->move_to(position);
    }

  signals:
    void Seeked(qlonglong Position);

  private:
    MediaControls::Service* service_;
};

bool MediaControls::Service::join_bus() {
    if (!held.isEmpty()) return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    if (!player) {
        new RootAdaptor(this);
        player = new PlayerAdaptor(this);
    }
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return false;
    const QString base = QStringLiteral("org.mpris.MediaPlayer2.") + name;
    for (const QString& candidate :
         {base, base + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid())}) {
        if (bus.registerService(candidate)) {
            held = candidate;
            return true;
        }
    }
    bus.unregisterObject(kObjectPath);
    return false;
}

void MediaControls::Service::leave_bus() {
    idle_timer.stop();
    if (held.isEmpty()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(held);
    bus.unregisterObject(kObjectPath);
    held.clear();
}

void MediaControls::Service::announce(const QString& interface, const QVariantMap& changed) {
    if (held.isEmpty() || changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

QVariantMap MediaControls::Service::metadata() const {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackPath(track.id))));
    if (track.id.isEmpty()) return map;
    map.insert(QStringLiteral("mpris:length"), qlonglong(track.length_us));
    map.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty()) map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    return map;
}

void MediaControls::Service::move_to(std::int64_t us) {
    commands.set_position(us);
    if (player) emit player->Seeked(position());
}

MediaControls::MediaControls(Commands commands, std::chrono::milliseconds idle, const QString& name)
    : service_(std::make_unique<Service>(std::move(commands), idle, name)) {}

MediaControls::~MediaControls() = default;

void MediaControls::update(const MediaTrack& track, PlaybackState state) {
    Service& s = *service_;
    QVariantMap changed;
    if (!(track == s.track)) {
        const bool couldPlay = !s.track.id.isEmpty();
        const bool couldSeek = s.track.length_us > 0;
        s.track = track;
        changed.insert(QStringLiteral("Metadata"), s.metadata());
        if (couldPlay != !track.id.isEmpty()) {
            changed.insert(QStringLiteral("CanPlay"), s.player ? s.player->canPlay() : false);
            changed.insert(QStringLiteral("CanPause"), s.player ? s.player->canPause() : false);
        }
        if (couldSeek != (track.length_us > 0) && s.player)
            changed.insert(QStringLiteral("CanSeek"), s.player->canSeek());
    }
    if (state != s.state) {
        s.state = state;
        changed.insert(QStringLiteral("PlaybackStatus"), statusText(state));
    }
    if (state == PlaybackState::Playing) {
        s.idle_timer.stop();
        // A desktop that sees the name appear reads every property itself.
        if (s.held.isEmpty()) {
            s.join_bus();
            return;
        }
    } else if (!s.held.isEmpty() && !s.idle_timer.isActive()) {
        s.idle_timer.start();
    }
    s.announce(kPlayerInterface, changed);
}

void MediaControls::seeked(std::int64_t positionUs) {
    if (!service_->held.isEmpty() && service_->player) emit service_->player->Seeked(positionUs);
}

QString MediaControls::bus_name() const {
    return service_->held;
}

}  // namespace platform

#include "media_controls.moc"
