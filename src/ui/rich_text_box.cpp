#include "ui/rich_text_box.h"

#include <QStringList>
#include <vector>

namespace vym::ui {
namespace {

// Destinations whose content is not text.
bool IsHiddenDestination(const QString& word) {
    static const QStringList kHidden = {QStringLiteral("fonttbl"),    QStringLiteral("colortbl"),
                                        QStringLiteral("stylesheet"), QStringLiteral("info"),
                                        QStringLiteral("pict"),       QStringLiteral("header"),
                                        QStringLiteral("footer"),     QStringLiteral("object"),
                                        QStringLiteral("listtable"),  QStringLiteral("generator")};
    return kHidden.contains(word);
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
}

void RichTextBox::SetText(const QString& text) {
    if (text.startsWith(QLatin1String("{\\rtf"))) {
        setPlainText(RtfToPlainText(text));
    } else if (Qt::mightBeRichText(text)) {
        setHtml(text);
    } else {
        setPlainText(text);
    }
}

QString RichTextBox::Text() const {
    return toPlainText();
}

QString RichTextBox::RtfToPlainText(const QString& rtf) {
    QString out;
    std::vector<bool> skip{false};  // one entry per open group
    const qsizetype n = rtf.size();
    int pendingFallback = 0;  // characters standing in for the last \u character
    auto emitText = [&](const QString& s) {
        if (pendingFallback > 0) {
            --pendingFallback;
            return;
        }
        if (!skip.back()) {
            out += s;
        }
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = rtf[i];
        if (c == QLatin1Char('{')) {
            skip.push_back(skip.back());
        } else if (c == QLatin1Char('}')) {
            if (skip.size() > 1) {
                skip.pop_back();
            }
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            continue;
        } else if (c != QLatin1Char('\\')) {
            emitText(QString(c));
        } else if (i + 1 < n) {
            const QChar next = rtf[i + 1];
            if (next == QLatin1Char('\\') || next == QLatin1Char('{') || next == QLatin1Char('}')) {
                emitText(QString(next));
                ++i;
            } else if (next == QLatin1Char('*')) {
                skip.back() = true;
                ++i;
            } else if (next == QLatin1Char('\'') && i + 3 < n) {
                bool ok = false;
                const int code = rtf.mid(i + 2, 2).toInt(&ok, 16);
                if (ok) {
                    emitText(QString(QChar(code)));
                }
                i += 3;
            } else if (next.isLetter()) {
                qsizetype j = i + 1;
                while (j < n && rtf[j].isLetter()) {
                    ++j;
                }
                const QString word = rtf.mid(i + 1, j - i - 1);
                qsizetype k = j;
                if (k < n && rtf[k] == QLatin1Char('-')) {
                    ++k;
                }
                while (k < n && rtf[k].isDigit()) {
                    ++k;
                }
                const QString param = rtf.mid(j, k - j);
                if (k < n && rtf[k] == QLatin1Char(' ')) {
                    ++k;  // the delimiter belongs to the control word
                }
                i = k - 1;
                if (word == QLatin1String("par") || word == QLatin1String("line")) {
                    emitText(QStringLiteral("\n"));
                } else if (word == QLatin1String("tab")) {
                    emitText(QStringLiteral("\t"));
                } else if (word == QLatin1String("u") && !param.isEmpty()) {
                    emitText(QString(QChar(static_cast<char16_t>(param.toInt()))));
                    pendingFallback = 1;
                } else if (IsHiddenDestination(word)) {
                    skip.back() = true;
                }
            } else {
                ++i;  // a control symbol such as \~ or \-: nothing to show
            }
        }
    }
    while (out.endsWith(QLatin1Char('\n'))) {
        out.chop(1);
    }
    return out;
}

}  // namespace vym::ui
