#include "runtime/TextBox.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace runtime {

TextBox::TextBox(QWidget *container, const QString &name, int index)
    : Control(container, name, index), m_editor(new QPlainTextEdit(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    m_editor->setFrameShape(QFrame::NoFrame);
    setMultiLine(false);
    m_editor->setFont(m_font.toQFont());
    applyColors();
    connect(m_editor, &QPlainTextEdit::textChanged, this, &TextBox::Change);
}

// The editor keeps lines apart by "\n"; the text box's callers write and read CR LF between lines,
// as the platform's text box holds them.
QString TextBox::Text() const
{
    QString text = m_editor->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TextBox::setText(const QString &text)
{
    if (text == Text())
        return;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_editor->setPlainText(lines);
}

void TextBox::setBackColor(OleColor color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    applyColors();
}

void TextBox::setForeColor(OleColor color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    applyColors();
}

void TextBox::setMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    // A single-line box neither wraps nor scrolls vertically.
    m_editor->setLineWrapMode(multiLine ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_editor->setVerticalScrollBarPolicy(multiLine ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool TextBox::Locked() const { return m_editor->isReadOnly(); }

void TextBox::setLocked(bool locked)
{
    m_editor->setReadOnly(locked);
    m_editor->setTextInteractionFlags(locked ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                             : Qt::TextEditorInteraction);
}

void TextBox::setFont(const StdFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_editor->setFont(font.toQFont());
}

void TextBox::applyColors()
{
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, toQColor(TranslateOrBlack(m_backColor)));
    palette.setColor(QPalette::Text, toQColor(TranslateOrBlack(m_foreColor)));
    m_editor->setPalette(palette);
}

} // namespace runtime
