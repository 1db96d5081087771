#pragma once

#include "office/OfficeBackend.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

// The office back end over LibreOffice's UNO: a local component context
// made once, and a bridge to the office on its pipe.
class CUnoBackend : public IOfficeBackend {
public:
    CUnoBackend();
    ~CUnoBackend() override;

    QString OfficeProgram() const override;
    bool Connect(const QString& pipeName) override;
    bool IsConnected() override;
    void Disconnect() override;
    void Terminate() override;
    std::unique_ptr<ISpreadsheet> NewSpreadsheet() override;
    std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) override;
    std::unique_ptr<ITextDocument> NewTextDocument() override;

private:
    // A new document of a factory ("private:factory/scalc"), or, given a
    // path, an untitled copy of that file: the file itself is never opened
    // for editing, so the office leaves no lock beside it, even when it dies.
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent>
    Load(const rtl::OUString& factory, const QString& path, bool withMacros);
    com::sun::star::frame::XDesktop2& Desktop();

    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> m_local;
    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> m_remote;
    com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> m_desktop;
};
