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

// Reads RTF into plain text: groups nest, hidden destinations and their
// groups are dropped, control words become the characters they stand for.
class RtfReader {
  public:
    explicit RtfReader(const QString& rtf) : rtf_(rtf), n_(rtf.size()) {}

    QString Read() {
        for (qsizetype i = 0; i < n_; ++i) {
            const QChar c = rtf_[i];
            if (c == QLatin1Char('{')) {
                skip_.push_back(skip_.back());
            } else if (c == QLatin1Char('}')) {
                if (skip_.size() > 1) {
                    skip_.pop_back();
                }
            } else if (c == QLatin1Char('\\')) {
                i = Control(i);
            } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
                Emit(QString(c));
            }
        }
        while (out_.endsWith(QLatin1Char('\n'))) {
            out_.chop(1);
        }
        return out_;
    }

  private:
    void Emit(const QString& text) {
        if (pendingFallback_ > 0) {
            --pendingFallback_;
            return;
        }
        if (!skip_.back()) {
            out_ += text;
        }
    }

    // The backslash at `i` and what follows it; returns the last index read.
    qsizetype Control(qsizetype i) {
        if (i + 1 >= n_) {
            return i;
        }
        const QChar next = rtf_[i + 1];
        if (next == QLatin1Char('\\') || next == QLatin1Char('{') || next == QLatin1Char('}')) {
            Emit(QString(next));
            return i + 1;
        }
        if (next == QLatin1Char('*')) {
            skip_.back() = true;
            return i + 1;
        }
        if (next == QLatin1Char('\'') && i + 3 < n_) {
            bool ok = false;
            const int code = rtf_.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                Emit(QString(QChar(code)));
            }
            return i + 3;
        }
        if (next.isLetter()) {
            return Word(i);
        }
        return i + 1;  // a control symbol such as \~ or \-: nothing to show
    }

    // A control word with its optional number and delimiting blank.
    qsizetype Word(qsizetype i) {
        qsizetype j = i + 1;
        while (j < n_ && rtf_[j].isLetter()) {
            ++j;
        }
        const QString word = rtf_.mid(i + 1, j - i - 1);
        qsizetype k = j;
        if (k < n_ && rtf_[k] == QLatin1Char('-')) {
            ++k;
        }
        while (k < n_ && rtf_[k].isDigit()) {
            ++k;
        }
        const QString param = rtf_.mid(j, k - j);
        if (k < n_ && rtf_[k] == QLatin1Char(' ')) {
            ++k;  // the delimiter belongs to the control word
        }
        if (word == QLatin1String("par") || word == QLatin1String("line")) {
            Emit(QStringLiteral("\n"));
        } else if (word == QLatin1String("tab")) {
            Emit(QStringLiteral("\t"));
        } else if (word == QLatin1String("u") && !param.isEmpty()) {
            Emit(QString(QChar(static_cast<char16_t>(param.toInt()))));
            pendingFallback_ = 1;
        } else if (IsHiddenDestination(word)) {
            skip_.back() = true;
        }
        return k - 1;
    }

    const QString& rtf_;
    const qsizetype n_;
    QString out_;
    std::vector<bool> skip_{false};  // one entry per open group
    int pendingFallback_ = 0;        // characters standing in for the last \u character
};

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
    return RtfReader(rtf).Read();
}

}  // namespace vym::ui
