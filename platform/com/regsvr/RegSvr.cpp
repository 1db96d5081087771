#include "platform/com/HResult.h"
#include "platform/com/ServerLibrary.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

// regsvr [-u] library...: registers the classes of control libraries in the
// class registry, or with -u removes them again.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("regsvr"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Registers control libraries in the class registry "
                       "($KELVANE_CLASS_REGISTRY, else the user's data folder)."));
    parser.addHelpOption();
    const QCommandLineOption unregister(
        QStringList{QStringLiteral("u"), QStringLiteral("unregister")},
        QStringLiteral("Remove the libraries' classes instead."));
    parser.addOption(unregister);
    parser.addPositionalArgument(QStringLiteral("library"),
                                 QStringLiteral("Control libraries (.so)."),
                                 QStringLiteral("library..."));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList libraries = parser.positionalArguments();
    if (libraries.isEmpty()) {
        err << parser.helpText();
        return 2;
    }

    int status = 0;
    for (const QString& name : libraries) {
        const QString path = QFileInfo(name).absoluteFilePath();
        CServerLibrary* library = nullptr;
        HRESULT hr = CServerLibrary::Load(path, &library);
        if (Succeeded(hr))
            hr = parser.isSet(unregister) ? library->UnregisterServer() : library->RegisterServer();
        if (Failed(hr)) {
            // The loader's reason comes with the code.
            err << name << ": " << HResultText(hr) << '\n';
            status = 1;
            continue;
        }
        out << name << (parser.isSet(unregister) ? ": unregistered\n" : ": registered\n");
    }
    return status;
}
