#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vym::test {

// What a command-line tool (pdftoppm, zbarimg ...) writes to its standard
// output, waiting up to a minute for it to finish.
inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace vym::test
