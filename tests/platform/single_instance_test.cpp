#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QUuid>

namespace {

// A real second process holding the marker, as a running copy would.
class Probe {
  public:
    explicit Probe(const QString& name) {
        process_.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {name});
        process_.waitForStarted(5000);
        process_.waitForReadyRead(5000);
        answer_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Probe() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QString answer() const { return answer_; }
    void crash() {
        process_.kill();  // SIGKILL: no clean-up runs
        process_.waitForFinished(5000);
    }

  private:
    QProcess process_;
    QString answer_;
};

QString uniqueName() {
    return "Korvelan Mutex test " + QUuid::createUuid().toString();
}

}  // namespace

TEST(SingleInstance, ASecondProcessSeesTheFirst) {
    const QString name = uniqueName();
    Probe first(name);
    EXPECT_EQ(first.answer(), QStringLiteral("first"));
    Probe second(name);
    EXPECT_EQ(second.answer(), QStringLiteral("existed"));
    platform::SingleInstanceMarker here(name);
    EXPECT_TRUE(here.alreadyExisted());
}

TEST(SingleInstance, OtherNamesDoNotMeet) {
    Probe first(uniqueName());
    platform::SingleInstanceMarker here(uniqueName());
    EXPECT_FALSE(here.alreadyExisted());
}

TEST(SingleInstance, ACrashedCopyDoesNotBlockTheNextStart) {
    const QString name = uniqueName();
    Probe crashed(name);
    ASSERT_EQ(crashed.answer(), QStringLiteral("first"));
    crashed.crash();
    platform::SingleInstanceMarker here(name);
    EXPECT_FALSE(here.alreadyExisted());
}

TEST(SingleInstance, TheMarkerLastsWhileAnyCopyRuns) {
    // Like a system mutex: the first copy ending leaves the second holding it.
    const QString name = uniqueName();
    auto first = std::make_unique<Probe>(name);
    Probe second(name);
    ASSERT_EQ(second.answer(), QStringLiteral("existed"));
    first.reset();
    Probe third(name);
    EXPECT_EQ(third.answer(), QStringLiteral("existed"));
}
