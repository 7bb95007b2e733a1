#include "support/app_harness.h"

#include <QTest>

namespace vellumar::test {

AppHarness::AppHarness() : app(std::make_unique<VellumarApp>(prompter)) {}

AppHarness::~AppHarness() {
    app.reset();
}

void AppHarness::Start(uint32_t seed) {
    app->Start(seed);
}

void AppHarness::UseSampleMasterList() {
    home.CopyResource(QStringLiteral("MASTER.DAT"), home.Working());
}

QString AppHarness::UseMasterList(const QByteArray& list, const QByteArray& texts) {
    const QString path = home.Write(home.Working() + QStringLiteral("MASTER.DAT"), list);
    if (!texts.isEmpty()) home.Write(path + QStringLiteral(".texts.json"), texts);
    return path;
}

void AppHarness::Verify() {
    prompter.VerifyDone();
    if (!guard.Seen().isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("unanswered modal window: ") +
                                guard.Seen().join(QStringLiteral(", "))),
                     __FILE__, __LINE__);
}

} // namespace vellumar::test
