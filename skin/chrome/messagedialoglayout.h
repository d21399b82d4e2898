#pragma once
// The layout of the message window and the text it copies to the clipboard, as pure
// functions of the message's measures.

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

struct MessageDialogLayout {
    int contentBottom = 0; // the lower of the text's and the icon's bottom edges
    QRect label;           // the message text, wrapped at its width
    QRect image;           // where the icon sits (hidden without an icon)
    bool showImage = false;
    int width = 0;  // the window's width
    int height = 0; // the window's height
    // The buttons in creation order (the rightmost first); button number n of the
    // dialog is at index ButtonCount - n.
    QList<QRect> buttons;
};

// The window laid out for a message whose wrapped text is `labelHeight` pixels high, with
// or without an icon, and 1..3 buttons.
MessageDialogLayout LayOutMessageDialog(int labelHeight, bool icon, int buttonCount);

// What Ctrl+C copies: the caption, the text and the button captions (in creation order,
// separated by three spaces) between lines of 27 hyphens, lines joined by CR LF.
QString MessageDialogClipboardText(const QString& caption, const QString& text,
                                   const QStringList& buttonCaptions);
