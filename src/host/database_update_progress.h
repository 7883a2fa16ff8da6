#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <memory>

namespace vym {

// What the program shows while it brings a database up to its own version as
// it opens it, which for an older one can take minutes: which step of how
// many, and a Stop button. The window comes up only once the update has taken
// `delayMs`; its Ask is the open's update progress.
class DatabaseUpdateProgress {
  public:
    explicit DatabaseUpdateProgress(QString databasePath, int delayMs = 500);

    // Whether to go on with migration `step` of `steps`. Keeps the window
    // drawn and its Stop button answering.
    bool Ask(int step, int steps);
    // The window, once it is up.
    QProgressDialog* Window() const { return window_.get(); }

  private:
    static constexpr int kRedrawMs = 50;

    QString path_;
    int delayMs_;
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceRedraw_;
    std::unique_ptr<QProgressDialog> window_;
};

}  // namespace vym
