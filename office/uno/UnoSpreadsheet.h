#pragma once

#include "office/Spreadsheet.h"

#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace com::sun::star::beans {
class XPropertySet;
}

// A Calc document as the program's workbook: its first sheet, and the Basic
// library "VBAProject" that holds the workbook's macros as Excel names them.
class CUnoSpreadsheet : public ISpreadsheet {
public:
    CUnoSpreadsheet(
        const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& document,
        const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);
    ~CUnoSpreadsheet() override;

    void SetValue(const QString& cell, const QVariant& value) override;
    void SetValues(const QString& topLeft, const QList<QVariantList>& rows) override;
    void SetBold(const QString& range, bool bold) override;
    void SetFontSize(const QString& range, double points) override;
    void SetUnderline(const QString& range, int style) override;
    void SetFontColorIndex(const QString& range, int index) override;
    void SetInteriorColorIndex(const QString& range, int index) override;
    void AutoFitColumns(const QString& range) override;
    double ColumnWidth(const QString& range) override;
    void SetColumnWidth(const QString& range, double characters) override;
    QVariant RunMacro(const QString& name, const QStringList& arguments) override;
    QStringList MacroModules() override;
    QString MacroModuleCode(const QString& module) override;
    void SetMacroModuleCode(const QString& module, const QString& code) override;
    void RemoveMacroModule(const QString& module) override;
    void SaveAs(const QString& path) override;
    void Close() override;

private:
    using CellRangeRef = com::sun::star::uno::Reference<com::sun::star::table::XCellRange>;
    using PropertiesRef = com::sun::star::uno::Reference<com::sun::star::beans::XPropertySet>;
    using LibraryRef = com::sun::star::uno::Reference<com::sun::star::container::XNameContainer>;

    com::sun::star::sheet::XSpreadsheet& Sheet();
    CellRangeRef Range(const QString& range);
    PropertiesRef RangeProperties(const QString& range);
    // The columns of the range, left to right (never empty).
    QList<PropertiesRef> Columns(const QString& range);
    void SetRangeProperty(const char* doing, const QString& range, const char* name,
                          const com::sun::star::uno::Any& value);
    sal_Int32 DateFormat();
    // The hundredths of a millimetre of one character of the standard font.
    double CharacterWidth();
    // The macro library; null when there is none and create is false.
    LibraryRef MacroLibrary(bool create);
    // The library holding the module; throws when there is none.
    LibraryRef ModuleLibrary(const QString& module);
    QString FindProcedure(const QString& procedure);

    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> m_document;
    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> m_context;
    com::sun::star::uno::Reference<com::sun::star::sheet::XSpreadsheet> m_sheet;
    sal_Int32 m_dateFormat = -1;
    double m_characterWidth = 0;
};
