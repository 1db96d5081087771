#include "ui/QtMessageBoxHook.h"

#include "ui/ModalRuns.h"

#include <QApplication>
#include <QMessageBox>

QWidget* CQtMessageBoxHook::Owner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

int CQtMessageBoxHook::Show(const QString& text, const QString& caption, unsigned type)
{
    QWidget* owner = Owner();
    // A window that is closing asks nothing more.
    if (CModalRuns::IsClosing(owner))
        return CautiousAnswer(type);
    QMessageBox box(owner);
    const CModalRuns::CRun run(&box);
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationDisplayName() : caption);
    // Messages quote stored texts: they show as typed, and nothing in them
    // is a link or a picture.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setText(text);
    switch (type & kMbIconMask) {
    case kMbIconError:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMbIconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kMbIconWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case kMbIconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Choice> choices;
    switch (type & kMbButtonMask) {
    case kMbOkCancel:
        choices = {{QMessageBox::Ok, kIdOk}, {QMessageBox::Cancel, kIdCancel}};
        break;
    case kMbYesNoCancel:
        choices = {
            {QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}, {QMessageBox::Cancel, kIdCancel}};
        break;
    case kMbYesNo:
        choices = {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}};
        break;
    case kMbRetryCancel:
        choices = {{QMessageBox::Retry, kIdRetry}, {QMessageBox::Cancel, kIdCancel}};
        break;
    default:
        choices = {{QMessageBox::Ok, kIdOk}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (pressed == c.button)
            return c.answer;
    return CautiousAnswer(type);
}
