#pragma once

#include "app/Profile.h"
#include "office/OfficeDocuments.h"
#include "office/OfficeError.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"
#include "review/XlsTimeSheet.h"
#include "tests/review/ReviewFixture.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <functional>
#include <memory>

// What a recording office saw: macro calls as "Name(arg|arg)", the
// templates opened, the workbooks saved and closed.
struct CMacroRecord {
    QStringList calls;
    QStringList opened;
    QStringList saved;
    int made = 0;
    int closed = 0;
    QMap<QString, QString> modulesWritten;
    // Macros that refuse every call; the one after which the office goes.
    QSet<QString> refusing;
    QString losesAfter;

    QStringList CallsOf(const QString& macro) const
    {
        QStringList found;
        for (const QString& call : calls)
            if (call.startsWith(macro + QLatin1Char('(')))
                found << call;
        return found;
    }
};

// A workbook that runs no macro but records the calls; its modules are
// the template's.
class CRecordingWorkbook : public ISpreadsheet {
public:
    CRecordingWorkbook(CMacroRecord& record, QMap<QString, QString> modules)
        : m_record(record)
        , m_modules(std::move(modules))
    {}
    void SetValue(const QString&, const QVariant&) override {}
    void SetValues(const QString&, const QList<QVariantList>&) override {}
    void SetBold(const QString&, bool) override {}
    void SetFontSize(const QString&, double) override {}
    void SetUnderline(const QString&, int) override {}
    void SetFontColorIndex(const QString&, int) override {}
    void SetInteriorColorIndex(const QString&, int) override {}
    void AutoFitColumns(const QString&) override {}
    double ColumnWidth(const QString&) override { return 10; }
    void SetColumnWidth(const QString&, double) override {}
    QVariant RunMacro(const QString& name, const QStringList& arguments) override
    {
        if (m_lost)
            throw COfficeError("LibreOffice has gone", COfficeError::kLost);
        m_record.calls << QStringLiteral("%1(%2)").arg(name, arguments.join(QLatin1Char('|')));
        if (m_record.refusing.contains(name))
            throw COfficeError(QStringLiteral("%1 refused").arg(name).toStdString());
        if (name == m_record.losesAfter)
            m_lost = true;
        return QVariant();
    }
    QStringList MacroModules() override { return m_modules.keys(); }
    QString MacroModuleCode(const QString& module) override { return m_modules.value(module); }
    void SetMacroModuleCode(const QString& module, const QString& code) override
    {
        m_modules[module] = code;
        m_record.modulesWritten[module] = code;
    }
    void RemoveMacroModule(const QString& module) override { m_modules.remove(module); }
    void SaveAs(const QString& path) override
    {
        if (m_lost)
            throw COfficeError("LibreOffice has gone", COfficeError::kLost);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw COfficeError("cannot write");
        file.write("workbook");
        m_record.saved << path;
    }
    void Close() override { ++m_record.closed; }

private:
    CMacroRecord& m_record;
    QMap<QString, QString> m_modules;
    bool m_lost = false;
};

// The office of the tests without LibreOffice: templates open as recording
// workbooks with the given modules.
class CRecordingOffice : public IOfficeDocuments {
public:
    explicit CRecordingOffice(CMacroRecord& record)
        : m_record(record)
    {}
    std::unique_ptr<ISpreadsheet> NewSpreadsheet() override
    {
        ++m_record.made;
        return std::make_unique<CRecordingWorkbook>(m_record, QMap<QString, QString>());
    }
    std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) override
    {
        m_record.opened << path;
        if (failure)
            throw COfficeError("no office here", *failure);
        return std::make_unique<CRecordingWorkbook>(m_record, modules);
    }
    std::unique_ptr<ITextDocument> NewTextDocument() override { return nullptr; }
    QString Present(ISpreadsheet&, const QString&) override { return QString(); }
    QString Present(ITextDocument&, const QString&) override { return QString(); }

    QMap<QString, QString> modules;
    std::optional<COfficeError::Kind> failure;

private:
    CMacroRecord& m_record;
};

// The week of 4 March 2024 booked (ReviewTest), a template in the test's
// folder with the five macros, Macro1, Print_time_sheet and a helper.
class XlsTimeSheetTest : public ReviewTest {
protected:
    static inline const QDate kNextMonday{2024, 3, 11};

    void SetUp() override
    {
        ReviewTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_folder = TestEnv::TestDir() + QStringLiteral("/sheets/");
        QDir().mkpath(m_folder);
        WriteFile(m_folder + QStringLiteral("Mine.xls"));
        m_office.modules = {{QStringLiteral("Module1"), TemplateCode()},
                            {QStringLiteral("ThisWorkbook"), QString()}};
    }

    static QString TemplateCode()
    {
        return QStringLiteral("Option Explicit\n"
                              "Sub FillOutHdrWeekly(a, b, c, d, e)\nEnd Sub\n"
                              "Sub FillDaysTime(a, b, c, d)\nEnd Sub\n"
                              "Sub DailyInOutVals(a, b, c)\nEnd Sub\n"
                              "Sub RunTotals(a)\nEnd Sub\n"
                              "Sub RunGrandTotal(a)\nEnd Sub\n"
                              "Sub Macro1()\nEnd Sub\n"
                              "Sub Print_time_sheet()\nEnd Sub\n"
                              "Function Helper()\nEnd Function\n");
    }
    static void WriteFile(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("template");
    }

    // A run of the registered template on a day; its result.
    bool RunSheet(const QDate& today = kNextMonday, const QString& templateFile = "Mine.xls")
    {
        CRecordingMessages::Current().Clear();
        m_sheet = std::make_unique<CXlsTimeSheet>(m_db, m_folder, templateFile);
        m_sheet->SetToday(today);
        m_sheet->SetOfficeDocuments(&m_office);
        return m_sheet->Run();
    }

    QString m_folder;
    CMacroRecord m_record;
    CRecordingOffice m_office{m_record};
    std::unique_ptr<CXlsTimeSheet> m_sheet;
};
