#pragma once

#include "office/OfficeDocuments.h"

#include <QList>
#include <QString>

class IOfficeBackend;
class QProcess;

// The program's office: the back-end library loaded on first use, one
// office process started on demand (headless, on a private pipe and with a
// private profile under the user's runtime folder), started again when it
// has died, and ended with the session. A progress dialog shows while it starts.
class COfficeSession : public IOfficeDocuments {
public:
    // How finished documents reach the user.
    enum class Presentation {
        // Shown on a desktop, stored without one.
        Automatic,
        // Opened unsaved in the desktop's office program.
        Show,
        // Stored in the documents folder.
        Store,
    };

    COfficeSession();
    ~COfficeSession() override;
    COfficeSession(const COfficeSession&) = delete;
    COfficeSession& operator=(const COfficeSession&) = delete;

    // The session windows use (the program's, or a test's); null for none.
    static IOfficeDocuments* Current();
    static void SetCurrent(IOfficeDocuments* documents);

    // ---- IOfficeDocuments ------------------------------------------------------------
    std::unique_ptr<ISpreadsheet> NewSpreadsheet() override;
    std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) override;
    std::unique_ptr<ITextDocument> NewTextDocument() override;
    QString Present(ISpreadsheet& sheet, const QString& title) override;
    QString Present(ITextDocument& document, const QString& title) override;

    // Whether the back end loads and the office program is there; the
    // reason when not.
    bool IsAvailable(QString* reason = nullptr);
    // Starts the office now unless it runs (throws COfficeError).
    void Start();
    // Ends the office and removes its profile; the next document starts it again.
    void Shutdown();
    bool IsRunning() const;
    // The process group of the running office (0 for none): it and the
    // processes it starts.
    qint64 ProcessGroup() const;
    // How long the last start took until the office answered, in milliseconds.
    qint64 LastStartMs() const { return m_lastStartMs; }

    void SetPresentation(Presentation presentation) { m_presentation = presentation; }
    // The folder stored documents go to (default: the user's documents folder).
    void SetStoreFolder(const QString& folder) { m_storeFolder = folder; }
    // Whether the office can show documents in windows of its own; found out
    // from its installation unless set.
    void SetOfficeHasWindows(bool windows) { m_officeWindows = windows ? 1 : 0; }

private:
    IOfficeBackend& Backend();
    IOfficeBackend& Office();
    void StartProcess();
    // One start of the office; false when it ended before it answered.
    bool LaunchOffice(const QString& program);
    void StopProcess(bool ask);
    // The processes of the office's group running on its profile.
    QList<qint64> GroupMembers() const;
    // Ends what is left of the office (waiting first when it was asked to end).
    void KillGroup(bool wait);
    bool ShowsDocuments() const;
    QString StorePath(const QString& title, const QString& extension) const;
    bool OfficeHasWindows();
    template <typename Document>
    QString PresentDocument(Document& document, const QString& title, const QString& extension);
    template <typename Document, typename Maker>
    std::unique_ptr<Document> Make(Maker make);

    IOfficeBackend* m_backend = nullptr;
    QString m_backendError;
    QProcess* m_process = nullptr;
    qint64 m_group = 0;
    QString m_profile;
    qint64 m_lastStartMs = 0;
    Presentation m_presentation = Presentation::Automatic;
    QString m_storeFolder;
    int m_officeWindows = -1;
};
