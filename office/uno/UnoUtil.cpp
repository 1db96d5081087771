#include "office/uno/UnoUtil.h"

#include "office/OfficeLockFile.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <string>

namespace unoutil {

using namespace css::uno;

namespace {

const QDate kSerialEpoch(1899, 12, 30);

std::string Utf8(const rtl::OUString& text)
{
    return ToQString(text).toStdString();
}

QString LowerFirst(const QString& text)
{
    return text.isEmpty() ? text : text.at(0).toLower() + text.mid(1);
}

QString Quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

// Why a document cannot be stored at the path, as the user can see it, or
// empty when nothing on this side explains it.
QString StoreObstacle(const QString& path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("The folder %1 cannot be written.").arg(Quoted(folder.filePath()));
    // The office marks a file it has open with a lock file beside it.
    const QString lock =
        QDir(folder.filePath()).filePath(QStringLiteral(".~lock.%1#").arg(file.fileName()));
    if (file.exists() && (QFileInfo::exists(lock) || !file.isWritable()))
        return QStringLiteral("%1 is in use or cannot be written.").arg(Quoted(path));
    return QString();
}

} // namespace

rtl::OUString FileUrl(const QString& path)
{
    return ToOUString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
}

Sequence<css::beans::PropertyValue>
Properties(std::initializer_list<std::pair<const char*, Any>> values)
{
    Sequence<css::beans::PropertyValue> out(static_cast<sal_Int32>(values.size()));
    css::beans::PropertyValue* p = out.getArray();
    for (const auto& [name, value] : values) {
        p->Name = rtl::OUString::createFromAscii(name);
        p->Value = value;
        ++p;
    }
    return out;
}

double DateSerial(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime at = value.toDateTime();
        return kSerialEpoch.daysTo(at.date()) + at.time().msecsSinceStartOfDay() / 86400000.0;
    }
    return static_cast<double>(kSerialEpoch.daysTo(value.toDate()));
}

Any ToAny(const QVariant& value)
{
    if (value.isNull() && value.typeId() != QMetaType::QString)
        return Any();
    switch (value.typeId()) {
    case QMetaType::QString:
        return Any(ToDocumentString(value.toString()));
    case QMetaType::Bool:
        return Any(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return Any(value.toDouble());
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Any(DateSerial(value));
    default:
        return Any(ToDocumentString(value.toString()));
    }
}

QVariant FromAny(const Any& value)
{
    rtl::OUString text;
    if (value >>= text)
        return ToQString(text);
    double number = 0;
    if (value >>= number)
        return number;
    bool flag = false;
    if (value >>= flag)
        return flag;
    return QVariant();
}

void StoreDocument(const Reference<css::lang::XComponent>& document, const QString& path,
                   std::initializer_list<std::pair<const char*, const char*>> filters)
{
    const QString extension = path.section(QLatin1Char('.'), -1).toLower();
    const char* filter = nullptr;
    for (const auto& [ending, name] : filters)
        if (extension == QLatin1String(ending))
            filter = name;
    if (!filter)
        throw COfficeError(
            QStringLiteral("\"%1\" is not a format of this document").arg(extension).toStdString());
    // An office that died while it saved here left its lock, which every
    // office refuses to save past; the lock of an office that runs stays.
    COfficeLockFile lock(path);
    if (!lock.ClearIfStale()) {
        const QString holder = lock.Holder();
        const QString by = holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder);
        throw COfficeError(
            QStringLiteral("%1 is open in LibreOffice elsewhere%2.\nClose it there and try again.")
                .arg(Quoted(path), by)
                .toStdString());
    }
    try {
        Guarded("Saving the document", [&] {
            // A copy: the document is not left holding the file locked.
            Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)
                ->storeToURL(
                    FileUrl(path),
                    Properties({{"FilterName", Any(rtl::OUString::createFromAscii(filter))},
                                {"Overwrite", Any(true)}}));
        });
    } catch (const COfficeError& e) {
        if (e.Lost())
            throw;
        QString why = StoreObstacle(path);
        if (why.isEmpty())
            why = QStringLiteral("The document could not be saved as %1.").arg(Quoted(path));
        throw COfficeError(why.toStdString(), e.ErrorKind(), e.Detail());
    }
}

void CloseDocument(Reference<css::lang::XComponent>& document)
{
    if (!document.is())
        return;
    const Reference<css::lang::XComponent> closing = document;
    document.clear();
    Guarded("Closing the document", [&] {
        Reference<css::util::XCloseable> closeable(closing, UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            closing->dispose();
    });
}

void Rethrow(const char* doing)
{
    const QString step = QString::fromUtf8(doing);
    // The user reads what the program was doing; the office's words are the detail.
    const std::string stopped =
        QStringLiteral("LibreOffice stopped while %1.").arg(LowerFirst(step)).toStdString();
    const std::string failed = QStringLiteral("%1 failed.").arg(step).toStdString();
    const std::string prefix = std::string(doing) + ": ";
    try {
        throw;
    } catch (const COfficeError&) {
        throw;
    } catch (const css::lang::DisposedException& e) {
        throw COfficeError(stopped, COfficeError::kLost, prefix + Utf8(e.Message));
    } catch (const css::uno::RuntimeException& e) {
        // A broken pipe shows as a runtime error of the bridge.
        const std::string message = Utf8(e.Message);
        const bool lost = message.find("bridge") != std::string::npos ||
                          message.find("Bridge") != std::string::npos;
        throw COfficeError(lost ? stopped : failed,
                           lost ? COfficeError::kLost : COfficeError::kRefused, prefix + message);
    } catch (const css::uno::Exception& e) {
        throw COfficeError(failed, COfficeError::kRefused, prefix + Utf8(e.Message));
    } catch (const std::exception& e) {
        throw COfficeError(failed, COfficeError::kRefused, prefix + e.what());
    } catch (...) {
        throw COfficeError(failed, COfficeError::kRefused, prefix + "unknown failure");
    }
}

} // namespace unoutil
