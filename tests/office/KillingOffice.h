#pragma once

#include "office/OfficeDocuments.h"
#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <signal.h>

// The documents of a real office session, with the office killed (its
// whole process group, as a crash would end it) at a chosen moment.
inline void KillOffice(COfficeSession& office)
{
    if (office.ProcessGroup() > 1)
        ::kill(-static_cast<pid_t>(office.ProcessGroup()), SIGKILL);
}

// Signals the office's process group the moment it starts saving into a
// folder (its lock file for the document appears there, before the document
// is written): SIGKILL as a crash ends it, SIGSTOP to keep it holding the lock.
class CSignalWhileSaving {
public:
    CSignalWhileSaving(COfficeSession& office, const QString& folder, int signal = SIGKILL)
        : m_group(office.ProcessGroup())
        , m_folder(folder)
        , m_signal(signal)
        , m_watch([this] { Watch(); })
    {}
    ~CSignalWhileSaving()
    {
        m_stop = true;
        m_watch.join();
    }
    CSignalWhileSaving(const CSignalWhileSaving&) = delete;
    CSignalWhileSaving& operator=(const CSignalWhileSaving&) = delete;

    bool Fired() const { return m_fired; }

private:
    void Watch()
    {
        const QStringList locks{QStringLiteral(".~lock.*#")};
        while (!m_stop) {
            // Once the office has written who holds it.
            for (const QFileInfo& lock :
                 QDir(m_folder).entryInfoList(locks, QDir::Files | QDir::Hidden)) {
                if (lock.size() == 0)
                    continue;
                if (m_group > 1)
                    ::kill(-static_cast<pid_t>(m_group), m_signal);
                m_fired = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    const qint64 m_group;
    const QString m_folder;
    const int m_signal;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_fired{false};
    std::thread m_watch; // last: it starts watching once the rest is set
};

// A workbook of the session that kills the office after a number of macro calls.
class CKillingWorkbook : public ISpreadsheet {
public:
    CKillingWorkbook(std::unique_ptr<ISpreadsheet> book, COfficeSession& office, int calls)
        : m_book(std::move(book))
        , m_office(office)
        , m_calls(calls)
    {}
    void SetValue(const QString& cell, const QVariant& value) override
    {
        m_book->SetValue(cell, value);
    }
    void SetValues(const QString& topLeft, const QList<QVariantList>& rows) override
    {
        m_book->SetValues(topLeft, rows);
    }
    void SetBold(const QString& range, bool bold) override { m_book->SetBold(range, bold); }
    void SetFontSize(const QString& range, double points) override
    {
        m_book->SetFontSize(range, points);
    }
    void SetUnderline(const QString& range, int style) override
    {
        m_book->SetUnderline(range, style);
    }
    void SetFontColorIndex(const QString& range, int index) override
    {
        m_book->SetFontColorIndex(range, index);
    }
    void SetInteriorColorIndex(const QString& range, int index) override
    {
        m_book->SetInteriorColorIndex(range, index);
    }
    void AutoFitColumns(const QString& range) override { m_book->AutoFitColumns(range); }
    double ColumnWidth(const QString& range) override { return m_book->ColumnWidth(range); }
    void SetColumnWidth(const QString& range, double characters) override
    {
        m_book->SetColumnWidth(range, characters);
    }
    QVariant RunMacro(const QString& name, const QStringList& arguments) override
    {
        const QVariant result = m_book->RunMacro(name, arguments);
        if (--m_calls == 0)
            KillOffice(m_office);
        return result;
    }
    QStringList MacroModules() override { return m_book->MacroModules(); }
    QString MacroModuleCode(const QString& module) override
    {
        return m_book->MacroModuleCode(module);
    }
    void SetMacroModuleCode(const QString& module, const QString& code) override
    {
        m_book->SetMacroModuleCode(module, code);
    }
    void RemoveMacroModule(const QString& module) override { m_book->RemoveMacroModule(module); }
    void SaveAs(const QString& path) override { m_book->SaveAs(path); }
    void Close() override { m_book->Close(); }

private:
    std::unique_ptr<ISpreadsheet> m_book;
    COfficeSession& m_office;
    int m_calls;
};

class CKillingOffice : public IOfficeDocuments {
public:
    enum When {
        // As soon as a new workbook exists.
        kAfterNewWorkbook,
        // After the given number of macro calls of an opened workbook.
        kAfterMacroCalls,
        // While it saves a document it presents (into the folder given).
        kWhileSaving,
    };

    CKillingOffice(COfficeSession& office, When when, int calls = 0)
        : m_office(office)
        , m_when(when)
        , m_calls(calls)
    {}
    CKillingOffice(COfficeSession& office, const QString& saveFolder)
        : m_office(office)
        , m_when(kWhileSaving)
        , m_calls(0)
        , m_saveFolder(saveFolder)
    {}
    std::unique_ptr<ISpreadsheet> NewSpreadsheet() override
    {
        auto sheet = m_office.NewSpreadsheet();
        if (m_when == kAfterNewWorkbook)
            KillOffice(m_office);
        return sheet;
    }
    std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) override
    {
        auto book = m_office.OpenSpreadsheet(path);
        if (m_when != kAfterMacroCalls)
            return book;
        return std::make_unique<CKillingWorkbook>(std::move(book), m_office, m_calls);
    }
    std::unique_ptr<ITextDocument> NewTextDocument() override { return m_office.NewTextDocument(); }
    QString Present(ISpreadsheet& sheet, const QString& title) override
    {
        const auto kill = Arm();
        return m_office.Present(sheet, title);
    }
    QString Present(ITextDocument& document, const QString& title) override
    {
        const auto kill = Arm();
        return m_office.Present(document, title);
    }

private:
    std::unique_ptr<CSignalWhileSaving> Arm()
    {
        if (m_when != kWhileSaving)
            return nullptr;
        return std::make_unique<CSignalWhileSaving>(m_office, m_saveFolder);
    }

    COfficeSession& m_office;
    When m_when;
    int m_calls;
    QString m_saveFolder;
};
