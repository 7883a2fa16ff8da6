#pragma once

#include <QTextEdit>

namespace vym::ui {

// The rich-text box for item and package instructions. It loads what the database holds
// (plain text, HTML, or RTF written by earlier versions, which is shown as its text) and
// reads back as plain text.
class RichTextBox : public QTextEdit {
    Q_OBJECT

  public:
    explicit RichTextBox(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;

    // The text of an RTF document: paragraphs become line breaks, control words,
    // font and colour tables and pictures are dropped.
    static QString RtfToPlainText(const QString& rtf);
};

}  // namespace vym::ui
