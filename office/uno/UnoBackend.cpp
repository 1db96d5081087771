#include "office/uno/UnoBackend.h"

#include "office/uno/UnoSpreadsheet.h"
#include "office/uno/UnoTextDocument.h"
#include "office/uno/UnoUtil.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <cppuhelper/bootstrap.hxx>

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

using namespace com::sun::star;
using namespace com::sun::star::uno;
using namespace unoutil;

#ifndef KELVANE_LIBREOFFICE_PROGRAM_DIR
#error "KELVANE_LIBREOFFICE_PROGRAM_DIR names LibreOffice's program folder"
#endif

namespace {

const char* kProgramDir = KELVANE_LIBREOFFICE_PROGRAM_DIR;

} // namespace

CUnoBackend::CUnoBackend() = default;

CUnoBackend::~CUnoBackend()
{
    Disconnect();
}

QString CUnoBackend::OfficeProgram() const
{
    return QString::fromLocal8Bit(kProgramDir) + QStringLiteral("/soffice");
}

bool CUnoBackend::Connect(const QString& pipeName)
{
    Disconnect();
    return Guarded("Connecting to LibreOffice", [&] {
        if (!m_local.is()) {
            // Without it the bridge cannot find the office's types.
            const std::string rc =
                std::string("vnd.sun.star.pathname:") + kProgramDir + "/fundamentalrc";
            setenv("URE_BOOTSTRAP", rc.c_str(), 1);
            m_local = cppu::defaultBootstrap_InitialComponentContext();
        }
        Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(m_local);
        Reference<XInterface> context;
        try {
            context = resolver->resolve(ToOUString(
                QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName)));
        } catch (const connection::NoConnectException&) {
            return false;
        }
        m_remote.set(context, UNO_QUERY_THROW);
        m_desktop = frame::Desktop::create(m_remote);
        return true;
    });
}

bool CUnoBackend::IsConnected()
{
    if (!m_desktop.is())
        return false;
    try {
        // A cheap round trip: a dead office throws at once.
        m_desktop->getFrames()->getCount();
        return true;
    } catch (...) {
        Disconnect();
        return false;
    }
}

void CUnoBackend::Disconnect()
{
    // Releasing the proxies of a dead bridge is harmless.
    m_desktop.clear();
    m_remote.clear();
}

void CUnoBackend::Terminate()
{
    if (!m_desktop.is())
        return;
    try {
        m_desktop->terminate();
    } catch (...) {
        // The office drops the bridge while it ends.
    }
    Disconnect();
}

frame::XDesktop2& CUnoBackend::Desktop()
{
    if (!m_desktop.is())
        throw COfficeError("LibreOffice is not connected", COfficeError::kLost);
    return *m_desktop;
}

Reference<lang::XComponent> CUnoBackend::Load(const rtl::OUString& factory, const QString& path,
                                              bool withMacros)
{
    const QString shown = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    if (!path.isEmpty() && !QFileInfo(path).isFile())
        throw COfficeError(QStringLiteral("%1 does not exist.").arg(shown).toStdString());
    if (!path.isEmpty() && !QFileInfo(path).isReadable())
        throw COfficeError(QStringLiteral("%1 cannot be read.").arg(shown).toStdString());
    const std::string refused =
        path.isEmpty() ? std::string("LibreOffice could not make a new document.")
                       : QStringLiteral("LibreOffice could not open %1.").arg(shown).toStdString();
    try {
        return Guarded("Opening the document", [&] {
            Sequence<beans::PropertyValue> args =
                withMacros ? Properties({{"Hidden", Any(true)},
                                         {"MacroExecutionMode",
                                          Any(document::MacroExecMode::ALWAYS_EXECUTE_NO_WARN)}})
                           : Properties({{"Hidden", Any(true)}});
            if (!path.isEmpty()) {
                args.realloc(args.getLength() + 1);
                args.getArray()[args.getLength() - 1] = beans::PropertyValue(
                    "AsTemplate", 0, Any(true), beans::PropertyState_DIRECT_VALUE);
            }
            Reference<lang::XComponent> document = Desktop().loadComponentFromURL(
                path.isEmpty() ? factory : FileUrl(path), "_blank", 0, args);
            if (!document.is())
                throw COfficeError(refused);
            return document;
        });
    } catch (const COfficeError& e) {
        if (e.ErrorKind() != COfficeError::kRefused)
            throw;
        throw COfficeError(refused, COfficeError::kRefused, e.Detail());
    }
}

std::unique_ptr<ISpreadsheet> CUnoBackend::NewSpreadsheet()
{
    return std::make_unique<CUnoSpreadsheet>(Load("private:factory/scalc", QString(), true),
                                             m_remote);
}

std::unique_ptr<ISpreadsheet> CUnoBackend::OpenSpreadsheet(const QString& path)
{
    return std::make_unique<CUnoSpreadsheet>(Load(rtl::OUString(), path, true), m_remote);
}

std::unique_ptr<ITextDocument> CUnoBackend::NewTextDocument()
{
    return std::make_unique<CUnoTextDocument>(Load("private:factory/swriter", QString(), false));
}

extern "C" __attribute__((visibility("default"))) IOfficeBackend* KelvaneOfficeBackend(int version)
{
    if (version != kOfficeBackendVersion)
        return nullptr;
    return new CUnoBackend;
}
