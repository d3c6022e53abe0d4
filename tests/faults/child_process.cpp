#include "child_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <cstdlib>

namespace velmo::faults {
namespace {

constexpr const char* kChildMark = "VELMO_FAULTS_CHILD";

QString SetprivPath() { return QStandardPaths::findExecutable(QStringLiteral("setpriv")); }

}  // namespace

bool IsChild() { return std::getenv(kChildMark) != nullptr; }

std::string ChildSetting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool CanDropPrivileges() { return !SetprivPath().isEmpty(); }

Child::Child(const ChildRun& run) : process_(std::make_unique<QProcess>()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildMark), QStringLiteral("1"));
    for (const auto& [name, value] : run.settings) {
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    // Another user cannot use this one's runtime directory; Qt makes one.
    if (run.as_nobody) environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::MergedChannels);

    const QString self = QCoreApplication::applicationFilePath();
    QStringList arguments{QStringLiteral("--gtest_filter=") + QString::fromStdString(run.child_case)};
    if (run.as_nobody) {
        arguments = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                QStringLiteral("--clear-groups"), self} +
                    arguments;
        process_->start(SetprivPath(), arguments);
    } else {
        process_->start(self, arguments);
    }
}

Child::~Child() {
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

bool Child::WaitForLine(const std::string& line, std::chrono::milliseconds limit) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < limit.count()) {
        output_ += process_->readAll().toStdString();
        if (output_.find(line + "\n") != std::string::npos) return true;
        if (process_->state() == QProcess::NotRunning) return false;
        process_->waitForReadyRead(100);
    }
    return false;
}

int Child::Finish(std::chrono::milliseconds limit) {
    process_->closeWriteChannel();
    if (!process_->waitForFinished(static_cast<int>(limit.count()))) {
        process_->kill();
        process_->waitForFinished(5000);
        output_ += process_->readAll().toStdString();
        return -1;
    }
    output_ += process_->readAll().toStdString();
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

std::string Child::Output() {
    output_ += process_->readAll().toStdString();
    return output_;
}

bool Child::CasePassed() {
    const std::string out = Output();
    return out.find("[  PASSED  ] 1 test.") != std::string::npos && out.find("[  SKIPPED ]") == std::string::npos;
}

}  // namespace velmo::faults
