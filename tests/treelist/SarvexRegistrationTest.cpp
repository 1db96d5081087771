#include "app/ControlRegistration.h"
#include "platform/com/ClassRegistry.h"
#include "tests/treelist/SarvexFixture.h"

#include <QFileInfo>
#include <QProcess>

using namespace SarvexIds;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome RunTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    Outcome run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QString RegSvr()
{
    return QStringLiteral(KELVANE_REGSVR_PATH);
}

QString Library()
{
    return QStringLiteral(KELVANE_SARVEX_PATH);
}

} // namespace

TEST(SarvexRegistration, RegsvrRegistersTheControlItsPageAndCategories)
{
    const Outcome reg = RunTool(RegSvr(), {Library()});
    ASSERT_EQ(reg.exitCode, 0) << reg.err.toStdString();

    CClassRegistry registry;
    const auto control = registry.FindClass(kClsid);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->progId, QString::fromLatin1(kProgId));
    EXPECT_EQ(control->name, QStringLiteral("Sarvex Control"));
    EXPECT_EQ(control->miscStatus, 0x20191u);
    EXPECT_EQ(control->threadingModel, QStringLiteral("Apartment"));
    EXPECT_EQ(control->typeLib, kTypeLib);
    EXPECT_EQ(control->typeLibVersion, QStringLiteral("1.0"));
    EXPECT_EQ(QFileInfo(control->library).fileName(), QStringLiteral("libsarvex.so"));
    EXPECT_EQ(registry.ClassOfProgId(QStringLiteral("sarvex.sarvexctrl.1")), kClsid);
    const auto page = registry.FindClass(kPropPageClsid);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->progId, QString::fromLatin1(kPropPageProgId));
    EXPECT_EQ(page->name, QStringLiteral("Sarvex Property Page"));
    const auto typeLib = registry.FindTypeLib(kTypeLib, QStringLiteral("1.0"));
    ASSERT_TRUE(typeLib);
    EXPECT_EQ(typeLib->name, QStringLiteral("Sarvex ActiveX Control module"));
    EXPECT_EQ(typeLib->helpFile, QStringLiteral("Sarvex.hlp"));
    const QList<Guid> categories = registry.ImplementedCategories(kClsid);
    ASSERT_EQ(categories.size(), 2);
    EXPECT_EQ(registry.CategoryDescription(categories[0]),
              QStringLiteral("Controls that are safely scriptable"));
    EXPECT_EQ(registry.CategoryDescription(categories[1]),
              QStringLiteral("Controls safely initializable from persistent data"));

    const Outcome unreg = RunTool(RegSvr(), {QStringLiteral("-u"), Library()});
    ASSERT_EQ(unreg.exitCode, 0) << unreg.err.toStdString();
    CClassRegistry after;
    EXPECT_FALSE(after.FindClass(kClsid));
    EXPECT_FALSE(after.FindClass(kPropPageClsid));
    EXPECT_FALSE(after.ClassOfProgId(QString::fromLatin1(kProgId)));
    EXPECT_FALSE(after.FindTypeLib(kTypeLib, QStringLiteral("1.0")));
    EXPECT_EQ(after.Categories().size(), 2);
}

TEST(SarvexRegistration, TheProgramRegistersTheControlFoundBesideIt)
{
    CSarvex unregistered;
    EXPECT_FALSE(unregistered.Create());
    EXPECT_FALSE(unregistered.HasControl());

    RegisterControlsBeside(QFileInfo(Library()).absolutePath());
    const auto control = CClassRegistry().FindClass(kClsid);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->library, QFileInfo(Library()).absoluteFilePath());
    CSarvex host;
    EXPECT_TRUE(host.Create());
    EXPECT_EQ(host.ReturnVerSml(), 3);
}

TEST(SarvexRegistration, TheLibraryExportsOnlyItsFourEntryPoints)
{
    const Outcome nm = RunTool(QStringLiteral("nm"),
                               {QStringLiteral("-D"), QStringLiteral("--defined-only"), Library()});
    if (nm.exitCode < 0)
        GTEST_SKIP() << "nm is not available";
    ASSERT_EQ(nm.exitCode, 0) << nm.err.toStdString();
    QStringList functions;
    for (const QString& line : nm.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() == 3 && fields[1] != QLatin1String("A"))
            functions << fields[2];
    }
    functions.sort();
    EXPECT_EQ(functions, (QStringList{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                      "DllUnregisterServer"}));
}

namespace {

using SarvexMembers = SarvexTest;

} // namespace

TEST_F(SarvexMembers, MembersAreFoundByNameAndTheEmptyOnesStayInPlace)
{
    Create();
    DispId id = 0;
    EXPECT_EQ(m_host.Dispatch()->GetIDsOfNames("settreeimagelistvalueatpos", &id), kS_OK);
    EXPECT_EQ(id, kSetTreeImageListValueatPos);
    EXPECT_EQ(m_host.Dispatch()->GetIDsOfNames("DeleteAllItemsTree", &id), kS_OK);
    EXPECT_EQ(id, 49);
    EXPECT_EQ(m_host.Dispatch()->GetIDsOfNames("TreeWidth", &id), kS_OK);
    EXPECT_EQ(id, 50);

    std::int32_t value = 5;
    m_host.Call(kTest, &value);
    std::string text = "kept";
    EXPECT_TRUE(m_host.Call<bool>(kQueryForChildKeyData, std::int32_t(1), &text));
    EXPECT_EQ(text, "kept");
    m_host.Call(kDumpObjects);
    EXPECT_EQ(m_host.LastResult(), kS_OK);

    // No image-list object crosses the dispatch layer.
    EXPECT_FALSE(m_host.Call<bool>(kSetTreeImageList, ComPtr<IUnknown>(),
                                   Variant(VariantArray{Variant(std::int32_t(3))}),
                                   std::int16_t(1)));
    Variant result;
    EXPECT_EQ(m_host.InvokeHelper(51, InvokeKind::Method, {}, &result), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_host.InvokeHelper(kRetSelKey, InvokeKind::Method,
                                  std::vector<Variant>{Variant(std::int32_t(1))}, &result),
              kDISP_E_BADPARAMCOUNT);
    // Values that do not fit the control's shorts are refused, not cut.
    EXPECT_FALSE(m_host.ChangeView(65538));
    EXPECT_FALSE(m_host.SetParent(QStringLiteral("x"), 1, 0, 1, QString(), 0, 100000, 0));
    EXPECT_EQ(m_host.NumberChildren(1), 0);
    EXPECT_EQ(m_host.QueryForKeyParent(1), -1);
}
