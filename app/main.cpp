#include "app/KelvaneApp.h"
#include "autotimer/AutoTimerWindows.h"
#include "data/DBConnection.h"
#include "office/OfficeSession.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"
#include "records/ChgRqstWindows.h"
#include "records/CommentWindows.h"
#include "records/ContactWindows.h"
#include "records/ProjectInfoWindows.h"
#include "review/ExchangeWindows.h"
#include "review/OverviewWindows.h"
#include "review/ReviewWindows.h"
#include "review/SearchWindows.h"
#include "review/XlsTimeSheetWindows.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/AppIcon.h"
#include "ui/AppStyle.h"
#include "ui/ConnectionDlg.h"
#include "ui/QtFileChooserHook.h"
#include "ui/QtLauncherHook.h"
#include "ui/QtMessageBoxHook.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(new CAppStyle(QApplication::style()->name()));
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));
    // No display name: the desktop would add it to every caption, which
    // already says what it should.
    QApplication::setWindowIcon(AppIcon());
    // The hub hides itself after start; the program ends by its Close command.
    QApplication::setQuitOnLastWindowClosed(false);

    CQtMessageBoxHook messages;
    SetMessageBoxHook(&messages);
    // A database failure is told once per thing the user does.
    UserAction::Install(&app);
    CQtFileChooserHook files;
    SetFileChooserHook(&files);
    CQtLauncherHook launcher;
    SetLauncherHook(&launcher);
    CConnectionDlgPrompt prompt;
    CDBConnection::SetPrompt(&prompt);

    RegisterTimeSheetWindows();
    RegisterAutoTimerWindows();
    RegisterContactWindows();
    RegisterCommentWindows();
    RegisterChgRqstWindows();
    RegisterProjectInfoWindows();
    RegisterSearchWindows();
    RegisterReviewWindows();
    // LibreOffice for the exports, started on first use and ended with the program.
    COfficeSession office;
    COfficeSession::SetCurrent(&office);
    RegisterExchangeWindows();
    RegisterOverviewWindows();
    RegisterXlsTimeSheetWindows();
    CKelvaneApp kelvane;
    // A logout or Ctrl+C ends the program as its Close command does, and
    // the office with it.
    kelvane.CloseOnTerminationSignals();
    if (!kelvane.Start())
        return 1;
    const int code = kelvane.RunHub();
    kelvane.Shutdown();
    COfficeSession::SetCurrent(nullptr);
    return code;
}
