#include "host/database_update_progress.h"

#include <QCoreApplication>
#include <QDir>

namespace vym {

DatabaseUpdateProgress::DatabaseUpdateProgress(QString databasePath, int delayMs)
    : path_(std::move(databasePath)), delayMs_(delayMs) {
    sinceStart_.start();
}

bool DatabaseUpdateProgress::Ask(int step, int steps) {
    if (!window_) {
        if (sinceStart_.elapsed() < delayMs_) {
            return true;
        }
        window_ = std::make_unique<QProgressDialog>();
        window_->setWindowTitle("VYM Back Office");
        window_->setCancelButtonText("&Stop");
        window_->setWindowModality(Qt::ApplicationModal);
        window_->setAutoReset(false);
        window_->setAutoClose(false);
        window_->setMinimumDuration(0);
        window_->show();
    } else if (sinceRedraw_.isValid() && sinceRedraw_.elapsed() < kRedrawMs) {
        return !window_->wasCanceled();
    }
    // A step can take minutes with nothing to count: the bar shows it is
    // busy, the text how far the update has come.
    window_->setRange(0, 0);
    window_->setLabelText(QString("Preparing the database %1 for this version of the program: "
                                  "step %2 of %3.")
                              .arg(QDir::toNativeSeparators(path_))
                              .arg(step)
                              .arg(steps));
    QCoreApplication::processEvents();
    sinceRedraw_.start();
    return !window_->wasCanceled();
}

}  // namespace vym
