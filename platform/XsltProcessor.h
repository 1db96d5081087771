#pragma once

#include <QByteArray>
#include <QString>

// XSLT 1.0 through libxslt. A style sheet may compute what it likes from the
// document it is given, but may not read or write files or use the network:
// such a sheet stops with the processor's reason.
class CXsltProcessor {
public:
    // How far a transformation got.
    enum Stage {
        kDone,
        kBadXml,           // the data is not well formed
        kBadStyleSheetXml, // the style sheet is not well formed
        kNotXslt,          // well formed, but no style sheet
        kTransformFailed,  // the style sheet stopped or failed on the data
    };
    struct CResult {
        Stage stage = kDone;
        QString detail; // the parser's or processor's own words
        QByteArray output;
    };

    // How the bytes of the data are read: texts held in memory are UTF-8
    // whatever they declare; a file's bytes follow their own declaration.
    enum class Encoding { Utf8, AsDeclared };

    // The style sheet is UTF-8.
    static CResult Transform(const QByteArray& xml, const QByteArray& styleSheet,
                             Encoding xmlEncoding = Encoding::Utf8);
};
