#pragma once

#include "ui/HtmlView.h"

#include <QPrinter>
#include <QString>

#include <functional>

// Answers the print and preview dialogs of the web views: prints to a PDF
// file, or, with answer false, cancels.
class CPdfPrintHook : public IHtmlPrintHook {
public:
    explicit CPdfPrintHook(QString file)
        : m_file(std::move(file))
    {}

    bool ChoosePrinter(QPrinter& printer, QWidget*) override
    {
        ++chosen;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_file);
        return answer;
    }
    void ShowPreview(QPrinter& printer, QWidget*,
                     const std::function<void(QPrinter*)>& paint) override
    {
        ++previews;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_file);
        paint(&printer);
    }

    bool answer = true;
    int chosen = 0;
    int previews = 0;

private:
    QString m_file;
};
