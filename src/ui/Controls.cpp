// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Controls.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QTextBoundaryFinder>
#include <QValidator>

#include "ui/Captions.h"

namespace wd {

namespace {

// The style of masked boxes: "*" for every character, shown at once.
class MaskStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) return u'*';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Keeps a text to at most `most` grapheme clusters. A line edit runs it after
// every change with the cursor just after what was typed or pasted.
class CharacterLimit final : public QValidator {
public:
    CharacterLimit(int most, QObject* parent) : QValidator(parent), most_(most) {}

    State validate(QString& input, int& pos) const override
    {
        QList<qsizetype> bounds{0};
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, input);
        while (graphemes.toNextBoundary() > 0) bounds << graphemes.position();
        const qsizetype count = bounds.size() - 1;
        const qsizetype excess = count - most_;
        if (excess <= 0) return Acceptable;
        // The characters just before the cursor go; a cursor too near the start
        // has not just put them there, so the end goes instead.
        qsizetype at = count;
        while (at > 0 && bounds[at] > pos) --at;
        if (at < excess) at = count;
        const qsizetype from = bounds[at - excess];
        input.remove(from, bounds[at] - from);
        pos = static_cast<int>(from);
        return Acceptable;
    }

private:
    int most_;
};

} // namespace

// ---- Label ------------------------------------------------------------------

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setMargin(0);
    setIndent(0);
    setMouseTracking(true);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::SetCaption(const QString& caption)
{
    caption_ = caption;
    setText(DisplayLines(caption));
    Announce();
    Fit();
}

void Label::SetSpokenName(const QString& name)
{
    spokenName_ = name;
    Announce();
}

void Label::Announce()
{
    // Setting the name tells screen readers that it changed.
    const QString text = SpokenText(caption_);
    if (spokenName_.isEmpty())
        setAccessibleName(text);
    else
        setAccessibleName(text.isEmpty() ? spokenName_ : spokenName_ + u'：' + text);
}

void Label::SetForeColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void Label::SetBackColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QColor Label::ForeColor() const { return palette().color(QPalette::WindowText); }
QColor Label::BackColor() const { return palette().color(QPalette::Window); }

void Label::SetBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f); // changeEvent refits
}

void Label::SetCentred(bool centred)
{
    setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
}

void Label::SetFitsText(bool fits)
{
    fitsText_ = fits;
    setWordWrap(!fits);
    Fit();
}

void Label::SetLink(bool link) { link_ = link; }

void Label::SetLinkHot(bool hot)
{
    if (!link_) return;
    SetForeColor(ToQColor(hot ? Colour::Red : Colour::LinkBlue));
    if (Bold() != hot) SetBold(hot);
}

void Label::Fit()
{
    if (!fitsText_) return;
    // Measured the way the text is drawn, so the box holds it exactly.
    const QFontMetrics fm(font());
    const QSize size = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text()).size();
    resize(size.width(), std::max(size.height(), fm.height()));
}

bool Label::ShowsWhole() const
{
    if (fitsText_) return true;
    // Measured the way the text is drawn: wrapped at the box's width.
    const QRect box = contentsRect();
    const QRect need = QFontMetrics(font()).boundingRect(QRect(box.topLeft(), QSize(box.width(), 100000)),
                                                         static_cast<int>(alignment()) | Qt::TextWordWrap, text());
    return need.width() <= box.width() && need.height() <= box.height();
}

void Label::mouseMoveEvent(QMouseEvent* event)
{
    if (link_) SetLinkHot(true);
    event->accept();
    emit MouseMoved();
}

void Label::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && isEnabled()) emit Clicked();
}

void Label::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) Fit();
}

// ---- Button -----------------------------------------------------------------

Button::Button(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(true); // Enter presses the button that has the focus
    setFocusPolicy(Qt::StrongFocus);
}

void Button::SetCaption(const QString& caption)
{
    setText(caption);
    setAccessibleName(WithoutAccessKey(caption));
}

// ---- TextBox ----------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    emit EnterPressed();
}

void TextBox::SetMaxCharacters(int most)
{
    setValidator(new CharacterLimit(most, this)); // owned by this box through the parent link
}

void TextBox::SetMasked(bool masked)
{
    if (masked) {
        auto* style = new MaskStyle; // owned by this box through the parent link
        style->setParent(this);
        setStyle(style);
        setEchoMode(QLineEdit::Password);
        // The masked line is laid out one star per UTF-16 unit, so the arrows
        // and the mouse could put the cursor inside a character outside the
        // BMP, and what is typed there would cut it in two. It steps on over
        // the rest of that character, keeping any selection.
        connect(this, &QLineEdit::cursorPositionChanged, this, [this](int before, int now) {
            const QString t = text();
            if (now <= 0 || now >= t.size() || !t[now - 1].isHighSurrogate() || !t[now].isLowSurrogate()) return;
            if (now > before) cursorForward(hasSelectedText(), 1);
            else cursorBackward(hasSelectedText(), 1);
        });
    } else {
        setEchoMode(QLineEdit::Normal);
    }
    setAttribute(Qt::WA_InputMethodEnabled, !masked);
}

// ---- Frame ------------------------------------------------------------------

Frame::Frame(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

void Frame::SetCaption(const QString& caption)
{
    caption_ = caption;
    const QString spoken = SpokenText(caption).simplified();
    setAccessibleName(spoken.isEmpty() ? spokenName_ : spoken);
    update();
}

void Frame::SetSpokenName(const QString& name)
{
    spokenName_ = name;
    SetCaption(caption_);
}

void Frame::SetForeColor(const QColor& colour)
{
    fore_ = colour;
    update();
}

void Frame::SetBackColor(const QColor& colour)
{
    back_ = colour;
    update();
}

void Frame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor back = back_.isValid() ? back_ : palette().color(QPalette::Window);
    p.fillRect(rect(), back);

    // The border runs through the middle of the caption's line, whether or not
    // there is a caption, so that captioned and plain frames line up.
    const QFontMetrics fm(font());
    const int y = fm.height() / 2;
    const QRect box(0, y, width() - 2, height() - y - 2);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(box);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.translated(1, 1));

    if (!caption_.isEmpty()) {
        const QString text = DisplayLines(caption_);
        const int x = 8;
        const int w = fm.horizontalAdvance(text) + 4;
        p.fillRect(QRect(x - 2, 0, w, fm.height()), back);
        p.setPen(fore_.isValid() ? fore_ : palette().color(QPalette::WindowText));
        p.drawText(QRect(x, 0, w, fm.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
}

// ---- Shape ------------------------------------------------------------------

Shape::Shape(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::SetBorderColor(const QColor& colour)
{
    border_ = colour;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(border_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace wd
