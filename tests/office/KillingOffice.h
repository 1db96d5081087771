#pragma once

#include "office/OfficeDocuments.h"
#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"

#include <memory>

#include <signal.h>

// The documents of a real office session, with the office killed (its
// whole process group, as a crash would end it) at a chosen moment.
inline void KillOffice(COfficeSession& office)
{
    if (office.ProcessGroup() > 1)
        ::kill(-static_cast<pid_t>(office.ProcessGroup()), SIGKILL);
}

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
    };

    CKillingOffice(COfficeSession& office, When when, int calls = 0)
        : m_office(office)
        , m_when(when)
        , m_calls(calls)
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
        return m_office.Present(sheet, title);
    }
    QString Present(ITextDocument& document, const QString& title) override
    {
        return m_office.Present(document, title);
    }

private:
    COfficeSession& m_office;
    When m_when;
    int m_calls;
};
