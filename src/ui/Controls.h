// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The control kinds of the screens, each a thin layer over Qt's own widget so
// that screen readers and input methods see ordinary labels, buttons and edits.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Look.h"

namespace wd {

// Text on an opaque box of its background colour. A box that fits its text
// resizes to it exactly whenever the text or font changes, keeping Left and
// Top; any other box keeps its size, wraps the text at its width and clips
// what runs past its bottom. Caption() is the text as set; what is drawn has
// every carriage return turned into a line break.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }
    // The name a screen reader says before the text, "" for the text alone.
    // The accessible name follows every change of caption.
    void SetSpokenName(const QString& name);

    void SetForeColor(const QColor& colour);
    void SetBackColor(const QColor& colour);
    QColor ForeColor() const;
    QColor BackColor() const;
    void SetBold(bool bold);
    bool Bold() const { return font().bold(); }

    void SetCentred(bool centred);
    void SetFitsText(bool fits);
    bool FitsText() const { return fitsText_; }
    // Whether the whole text is drawn: nothing runs past the bottom of the box,
    // and no word is wider than the box.
    bool ShowsWhole() const;

    // A link label turns red and bold under the pointer; the window turns it
    // back (Screen does that when the pointer crosses its free surface).
    void SetLink(bool link);
    bool IsLink() const { return link_; }
    void SetLinkHot(bool hot);

signals:
    void Clicked();
    void MouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Fit();
    void Announce();

    QString caption_;
    QString spokenName_;
    bool fitsText_ = false;
    bool link_ = false;
    bool pressed_ = false;
};

// Push button. "&" before a letter makes Alt+letter press it while it is
// enabled and visible; Enter and Space press it when it has the focus.
// Screen readers hear the caption without its access key.
class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
};

// Single-line edit field with an optional length limit that holds for typing
// and pasting alike, and an optional mask.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    // At most `most` characters as the player sees them: a character outside
    // the Basic Multilingual Plane, or a letter with its accents, counts once
    // and is never cut apart. What does not fit is cut from the end of what
    // was just typed or pasted.
    void SetMaxCharacters(int most);
    // One "*" per character, no input-method composition.
    void SetMasked(bool masked);
    bool Masked() const { return echoMode() == QLineEdit::Password; }

signals:
    // Return or Enter was pressed in the box, which keeps the key to itself.
    // Only the press counts. The Enter that commits an input method's
    // composition reaches the box as that composition, not as a key press, so
    // it never answers; its release does reach the box, and is no press.
    void EnterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A box in its background colour with a thin etched border and an optional
// caption set into the top border in its text colour. Children are clipped to
// it and move and hide with it.
class Frame : public QFrame {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }
    // What a screen reader calls the frame while it has no caption.
    void SetSpokenName(const QString& name);
    void SetForeColor(const QColor& colour);
    void SetBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QString spokenName_;
    QColor fore_;
    QColor back_;
};

// An outline drawn onto its container; takes no focus and lets the mouse
// through to the container beneath.
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);
    void SetBorderColor(const QColor& colour);
    QColor BorderColor() const { return border_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_ = Qt::black;
};

} // namespace wd
