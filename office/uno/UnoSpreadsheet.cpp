#include "office/uno/UnoSpreadsheet.h"

#include "office/CellAddress.h"
#include "office/ColorIndex.h"
#include "office/uno/UnoUtil.h"

#include <QPoint>
#include <QRegularExpression>

#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XEmbeddedScripts.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/script/ModuleInfo.hpp>
#include <com/sun/star/script/ModuleType.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>
#include <com/sun/star/script/vba/XVBACompatibility.hpp>
#include <com/sun/star/script/vba/XVBAModuleInfo.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

using namespace com::sun::star;
using namespace com::sun::star::uno;
using namespace unoutil;

namespace {

// Excel names the workbook's macro project so; LibreOffice keeps it as a Basic library.
const rtl::OUString kProjectLibrary("VBAProject");

// The advance of the digit 0, in ems, of the fonts a workbook's standard
// cell style may have: the width unit of columns in Excel's files.
double DigitAdvance(const QString& font)
{
    if (font.startsWith(QLatin1String("DejaVu Sans Mono")))
        return 0.602;
    if (font.startsWith(QLatin1String("DejaVu Sans")))
        return 0.636;
    if (font.startsWith(QLatin1String("Calibri")))
        return 0.507;
    return 0.556; // Liberation Sans, Arial, Helvetica and their kin
}

bool IsDate(const QVariant& value)
{
    return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
}

sal_Int16 UnderlineOf(int excelStyle)
{
    switch (excelStyle) {
    case 2: // single
    case 4: // single accounting
        return awt::FontUnderline::SINGLE;
    case -4119: // double
    case 5:     // double accounting
        return awt::FontUnderline::DOUBLE;
    case -4142: // none
        return awt::FontUnderline::NONE;
    default:
        throw COfficeError(
            QStringLiteral("%1 is no underline style").arg(excelStyle).toStdString());
    }
}

sal_Int32 PaletteColor(int index)
{
    const int rgb = ExcelColorIndexToRgb(index);
    if (rgb < 0)
        throw COfficeError(
            QStringLiteral("%1 is not a colour of the palette").arg(index).toStdString());
    return rgb;
}

} // namespace

CUnoSpreadsheet::CUnoSpreadsheet(const Reference<lang::XComponent>& document,
                                 const Reference<XComponentContext>& context)
    : m_document(document)
    , m_context(context)
{}

CUnoSpreadsheet::~CUnoSpreadsheet()
{
    try {
        Close();
    } catch (...) {
        // An office that has gone has closed it already.
    }
}

sheet::XSpreadsheet& CUnoSpreadsheet::Sheet()
{
    if (!m_document.is())
        throw COfficeError("The workbook is closed");
    if (!m_sheet.is()) {
        Guarded("Reading the worksheets", [&] {
            Reference<sheet::XSpreadsheetDocument> workbook(m_document, UNO_QUERY_THROW);
            Reference<container::XIndexAccess> sheets(workbook->getSheets(), UNO_QUERY_THROW);
            m_sheet.set(sheets->getByIndex(0), UNO_QUERY_THROW);
        });
    }
    return *m_sheet;
}

CUnoSpreadsheet::CellRangeRef CUnoSpreadsheet::Range(const QString& range)
{
    const CCellRange r = CCellRange::Parse(range);
    if (!r.IsValid())
        throw COfficeError(QStringLiteral("\"%1\" is not a cell range").arg(range).toStdString());
    sheet::XSpreadsheet& sheet = Sheet();
    return Guarded("Finding the cells", [&] {
        return sheet.getCellRangeByPosition(r.column, r.row, r.LastColumn(), r.LastRow());
    });
}

CUnoSpreadsheet::PropertiesRef CUnoSpreadsheet::RangeProperties(const QString& range)
{
    CellRangeRef cells = Range(range);
    return Guarded("Finding the cells", [&] { return PropertiesRef(cells, UNO_QUERY_THROW); });
}

void CUnoSpreadsheet::SetRangeProperty(const char* doing, const QString& range, const char* name,
                                       const Any& value)
{
    PropertiesRef properties = RangeProperties(range);
    Guarded(doing,
            [&] { properties->setPropertyValue(rtl::OUString::createFromAscii(name), value); });
}

sal_Int32 CUnoSpreadsheet::DateFormat()
{
    if (m_dateFormat < 0) {
        m_dateFormat = Guarded("Reading the date format", [&] {
            Reference<util::XNumberFormatsSupplier> supplier(m_document, UNO_QUERY_THROW);
            Reference<util::XNumberFormatTypes> types(supplier->getNumberFormats(),
                                                      UNO_QUERY_THROW);
            return types->getStandardFormat(util::NumberFormat::DATE, lang::Locale());
        });
    }
    return m_dateFormat;
}

// ---- Values ------------------------------------------------------------------------------

void CUnoSpreadsheet::SetValue(const QString& cell, const QVariant& value)
{
    SetValues(cell, {{value}});
}

void CUnoSpreadsheet::SetValues(const QString& topLeft, const QList<QVariantList>& rows)
{
    int width = 0;
    for (const QVariantList& row : rows)
        width = qMax(width, static_cast<int>(row.size()));
    if (rows.isEmpty() || width == 0)
        return;
    const CCellRange block =
        CCellRange::Parse(topLeft).Resized(static_cast<int>(rows.size()), width);
    if (!block.IsValid())
        throw COfficeError(QStringLiteral("No block of %1 x %2 cells fits at \"%3\"")
                               .arg(rows.size())
                               .arg(width)
                               .arg(topLeft)
                               .toStdString());
    CellRangeRef cells = Range(block.Name());
    Guarded("Writing the cells", [&] {
        Sequence<Sequence<Any>> data(static_cast<sal_Int32>(rows.size()));
        Sequence<Any>* line = data.getArray();
        QList<QPoint> dates;
        for (int r = 0; r < rows.size(); ++r, ++line) {
            line->realloc(width);
            Any* cell = line->getArray();
            const QVariantList& values = rows.at(r);
            for (int c = 0; c < width; ++c) {
                const QVariant value = values.value(c);
                // A void value would leave the cell as it was: an empty text clears it.
                cell[c] = value.isValid() ? ToAny(value) : Any(rtl::OUString());
                if (IsDate(value))
                    dates.append(QPoint(c, r));
            }
        }
        Reference<sheet::XCellRangeData>(cells, UNO_QUERY_THROW)->setDataArray(data);
        // Dates show as dates, as Excel shows a date value.
        for (const QPoint& at : dates) {
            Reference<beans::XPropertySet> cell(cells->getCellByPosition(at.x(), at.y()),
                                                UNO_QUERY_THROW);
            cell->setPropertyValue("NumberFormat", Any(DateFormat()));
        }
    });
}

// ---- Formats -----------------------------------------------------------------------------

void CUnoSpreadsheet::SetBold(const QString& range, bool bold)
{
    SetRangeProperty("Setting bold", range, "CharWeight",
                     Any(bold ? awt::FontWeight::BOLD : awt::FontWeight::NORMAL));
}

void CUnoSpreadsheet::SetFontSize(const QString& range, double points)
{
    if (points < 1 || points > 409)
        throw COfficeError(QStringLiteral("%1 is no font size").arg(points).toStdString());
    SetRangeProperty("Setting the font size", range, "CharHeight", Any(float(points)));
}

void CUnoSpreadsheet::SetUnderline(const QString& range, int style)
{
    SetRangeProperty("Setting the underline", range, "CharUnderline", Any(UnderlineOf(style)));
}

void CUnoSpreadsheet::SetFontColorIndex(const QString& range, int index)
{
    SetRangeProperty("Setting the font colour", range, "CharColor", Any(PaletteColor(index)));
}

void CUnoSpreadsheet::SetInteriorColorIndex(const QString& range, int index)
{
    const sal_Int32 color = PaletteColor(index);
    PropertiesRef properties = RangeProperties(range);
    Guarded("Setting the cell colour", [&] {
        properties->setPropertyValue("IsCellBackgroundTransparent", Any(false));
        properties->setPropertyValue("CellBackColor", Any(color));
    });
}

// ---- Columns -----------------------------------------------------------------------------

double CUnoSpreadsheet::CharacterWidth()
{
    if (m_characterWidth <= 0) {
        QString font;
        double points = 10;
        Guarded("Reading the standard font", [&] {
            Reference<style::XStyleFamiliesSupplier> supplier(m_document, UNO_QUERY_THROW);
            Reference<container::XNameAccess> cellStyles(
                supplier->getStyleFamilies()->getByName("CellStyles"), UNO_QUERY_THROW);
            Reference<beans::XPropertySet> standard(cellStyles->getByName("Default"),
                                                    UNO_QUERY_THROW);
            rtl::OUString name;
            standard->getPropertyValue("CharFontName") >>= name;
            font = ToQString(name);
            float height = 10;
            if (standard->getPropertyValue("CharHeight") >>= height)
                points = height;
        });
        // Points to hundredths of a millimetre.
        m_characterWidth = DigitAdvance(font) * points * 2540.0 / 72.0;
    }
    return m_characterWidth;
}

QList<CUnoSpreadsheet::PropertiesRef> CUnoSpreadsheet::Columns(const QString& range)
{
    CellRangeRef cells = Range(range);
    return Guarded("Finding the columns", [&] {
        Reference<container::XIndexAccess> columns(
            Reference<table::XColumnRowRange>(cells, UNO_QUERY_THROW)->getColumns(),
            UNO_QUERY_THROW);
        QList<PropertiesRef> out;
        for (sal_Int32 i = 0; i < columns->getCount(); ++i)
            out << PropertiesRef(columns->getByIndex(i), UNO_QUERY_THROW);
        return out;
    });
}

void CUnoSpreadsheet::AutoFitColumns(const QString& range)
{
    const QList<PropertiesRef> columns = Columns(range);
    Guarded("Fitting the columns", [&] {
        for (const PropertiesRef& column : columns)
            column->setPropertyValue("OptimalWidth", Any(true));
    });
}

double CUnoSpreadsheet::ColumnWidth(const QString& range)
{
    const PropertiesRef column = Columns(range).first();
    const double unit = CharacterWidth();
    return Guarded("Reading the column width", [&] {
        sal_Int32 width = 0;
        column->getPropertyValue("Width") >>= width;
        return width / unit;
    });
}

void CUnoSpreadsheet::SetColumnWidth(const QString& range, double characters)
{
    if (characters < 0 || characters > 255)
        throw COfficeError(
            QStringLiteral("%1 characters is no column width").arg(characters).toStdString());
    const QList<PropertiesRef> columns = Columns(range);
    const sal_Int32 width = static_cast<sal_Int32>(characters * CharacterWidth() + 0.5);
    Guarded("Setting the column width", [&] {
        for (const PropertiesRef& column : columns)
            column->setPropertyValue("Width", Any(width));
    });
}

// ---- Macros ------------------------------------------------------------------------------

CUnoSpreadsheet::LibraryRef CUnoSpreadsheet::MacroLibrary(bool create)
{
    if (!m_document.is())
        throw COfficeError("The workbook is closed");
    return Guarded("Reading the macros", [&] {
        Reference<document::XEmbeddedScripts> scripts(m_document, UNO_QUERY_THROW);
        Reference<script::XLibraryContainer> libraries(scripts->getBasicLibraries(),
                                                       UNO_QUERY_THROW);
        if (!libraries->hasByName(kProjectLibrary)) {
            if (!create)
                return LibraryRef();
            libraries->createLibrary(kProjectLibrary);
        }
        if (create) {
            // Saved as a workbook's macros only in VBA mode with a project name.
            Reference<script::vba::XVBACompatibility> vba(libraries, UNO_QUERY);
            if (vba.is() && !vba->getVBACompatibilityMode()) {
                vba->setVBACompatibilityMode(true);
                vba->setProjectName(kProjectLibrary);
            }
        }
        libraries->loadLibrary(kProjectLibrary);
        return LibraryRef(libraries->getByName(kProjectLibrary), UNO_QUERY_THROW);
    });
}

QStringList CUnoSpreadsheet::MacroModules()
{
    LibraryRef library = MacroLibrary(false);
    QStringList names;
    if (!library.is())
        return names;
    Guarded("Listing the macro modules", [&] {
        const Sequence<rtl::OUString> modules = library->getElementNames();
        for (const rtl::OUString& name : modules)
            names << ToQString(name);
    });
    return names;
}

CUnoSpreadsheet::LibraryRef CUnoSpreadsheet::ModuleLibrary(const QString& module)
{
    LibraryRef library = MacroLibrary(false);
    if (!library.is() ||
        !Guarded("Reading a macro module", [&] { return library->hasByName(ToOUString(module)); }))
        throw COfficeError(
            QStringLiteral("The workbook has no macro module \"%1\"").arg(module).toStdString());
    return library;
}

QString CUnoSpreadsheet::MacroModuleCode(const QString& module)
{
    LibraryRef library = ModuleLibrary(module);
    const rtl::OUString name = ToOUString(module);
    return Guarded("Reading a macro module", [&] {
        rtl::OUString code;
        library->getByName(name) >>= code;
        return ToQString(code);
    });
}

void CUnoSpreadsheet::SetMacroModuleCode(const QString& module, const QString& code)
{
    if (module.isEmpty() || module.contains(QLatin1Char('.')))
        throw COfficeError(QStringLiteral("\"%1\" is no module name").arg(module).toStdString());
    LibraryRef library = MacroLibrary(true);
    const rtl::OUString name = ToOUString(module);
    Guarded("Writing a macro module", [&] {
        Reference<script::vba::XVBAModuleInfo> info(library, UNO_QUERY);
        // Without its module information the module is not saved with the workbook.
        if (info.is() && !info->hasModuleInfo(name)) {
            script::ModuleInfo moduleInfo;
            moduleInfo.ModuleType = script::ModuleType::NORMAL;
            info->insertModuleInfo(name, moduleInfo);
        }
        const Any text(ToOUString(code));
        if (library->hasByName(name))
            library->replaceByName(name, text);
        else
            library->insertByName(name, text);
    });
}

void CUnoSpreadsheet::RemoveMacroModule(const QString& module)
{
    LibraryRef library = ModuleLibrary(module);
    const rtl::OUString name = ToOUString(module);
    Guarded("Removing a macro module", [&] {
        library->removeByName(name);
        Reference<script::vba::XVBAModuleInfo> info(library, UNO_QUERY);
        if (info.is() && info->hasModuleInfo(name))
            info->removeModuleInfo(name);
    });
}

QString CUnoSpreadsheet::FindProcedure(const QString& procedure)
{
    const QRegularExpression declaration(
        QStringLiteral("^\\s*(?:(?:Public|Private|Static)\\s+)*(?:Sub|Function)\\s+%1\\b")
            .arg(QRegularExpression::escape(procedure)),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    for (const QString& module : MacroModules())
        if (declaration.match(MacroModuleCode(module)).hasMatch())
            return QStringLiteral("%1.%2.%3").arg(ToQString(kProjectLibrary), module, procedure);
    throw COfficeError(
        QStringLiteral("The workbook has no macro \"%1\"").arg(procedure).toStdString());
}

QVariant CUnoSpreadsheet::RunMacro(const QString& name, const QStringList& arguments)
{
    if (!m_document.is())
        throw COfficeError("The workbook is closed");
    QString qualified;
    switch (name.count(QLatin1Char('.'))) {
    case 0:
        qualified = FindProcedure(name);
        break;
    case 1:
        qualified = ToQString(kProjectLibrary) + QLatin1Char('.') + name;
        break;
    default:
        qualified = name;
        break;
    }
    const QString doing = QStringLiteral("Running the macro %1").arg(name);
    return Guarded(doing.toUtf8().constData(), [&] {
        Reference<script::provider::XScriptProviderSupplier> supplier(m_document, UNO_QUERY_THROW);
        Reference<script::provider::XScript> script = supplier->getScriptProvider()->getScript(
            ToOUString(QStringLiteral("vnd.sun.star.script:%1?language=Basic&location=document")
                           .arg(qualified)));
        Sequence<Any> args(static_cast<sal_Int32>(arguments.size()));
        for (int i = 0; i < arguments.size(); ++i)
            // The macros type their arguments into the workbook.
            args.getArray()[i] <<= ToDocumentString(arguments.at(i));
        Sequence<sal_Int16> outIndexes;
        Sequence<Any> outValues;
        return FromAny(script->invoke(args, outIndexes, outValues));
    });
}

// ---- The file ----------------------------------------------------------------------------

void CUnoSpreadsheet::SaveAs(const QString& path)
{
    if (!m_document.is())
        throw COfficeError("The workbook is closed");
    StoreDocument(m_document, path,
                  {{"xlsx", "Calc MS Excel 2007 XML"},
                   {"xlsm", "Calc MS Excel 2007 VBA XML"},
                   {"xls", "MS Excel 97"},
                   {"ods", "calc8"}});
}

void CUnoSpreadsheet::Close()
{
    m_sheet.clear();
    CloseDocument(m_document);
}
