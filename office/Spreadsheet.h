#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A workbook as the program fills it, in the terms of Excel's automation:
// the first worksheet's cells and ranges by A1 address, colour indexes of
// the 56-colour palette, column widths in characters of the standard font,
// and the workbook's macros. Every operation throws COfficeError when the
// office refuses it or has gone.
class ISpreadsheet {
public:
    virtual ~ISpreadsheet() = default;

    // ---- Values --------------------------------------------------------------------
    // A QString is written as text (never read as a number or formula), a
    // number as a number, a QDate or QDateTime as a date value shown in the
    // default date format; a null QVariant empties the cell.
    virtual void SetValue(const QString& cell, const QVariant& value) = 0;
    // A block from its top-left cell, one list per row (the range resized to
    // the rows and the longest row; short rows leave their last cells empty).
    virtual void SetValues(const QString& topLeft, const QList<QVariantList>& rows) = 0;

    // ---- Formats of a range ("A1" or "A1:F1") ------------------------------------------
    virtual void SetBold(const QString& range, bool bold) = 0;
    virtual void SetFontSize(const QString& range, double points) = 0;
    // Excel's underline styles: 2 single, 4 single accounting (single),
    // -4119 double, -4142 none.
    virtual void SetUnderline(const QString& range, int style) = 0;
    virtual void SetFontColorIndex(const QString& range, int index) = 0;
    virtual void SetInteriorColorIndex(const QString& range, int index) = 0;

    // ---- Columns of a range ------------------------------------------------------------
    // Each column of the range to the width of its widest content.
    virtual void AutoFitColumns(const QString& range) = 0;
    // The width of the range's first column, in characters.
    virtual double ColumnWidth(const QString& range) = 0;
    virtual void SetColumnWidth(const QString& range, double characters) = 0;

    // ---- Macros (Basic, VBA-compatible) -------------------------------------------------
    // Runs a procedure of the workbook: "Proc", "Module.Proc" or
    // "Library.Module.Proc"; a bare name is looked up in the workbook's modules.
    virtual QVariant RunMacro(const QString& name, const QStringList& arguments) = 0;
    // The workbook's macro modules.
    virtual QStringList MacroModules() = 0;
    virtual QString MacroModuleCode(const QString& module) = 0;
    // Replaces the module's code; a missing module is made.
    virtual void SetMacroModuleCode(const QString& module, const QString& code) = 0;
    virtual void RemoveMacroModule(const QString& module) = 0;

    // ---- The file -----------------------------------------------------------------------
    // Stores the workbook under the path, in the format its extension names
    // (.xlsx, .xlsm with its macros, .xls, .ods); the workbook stays untitled.
    virtual void SaveAs(const QString& path) = 0;
    // Closes the workbook without saving; later calls throw.
    virtual void Close() = 0;
};
