#include "records/ContactFields.h"

#include "data/records/AddrCompanySet.h"
#include "data/records/PeopleSet.h"
#include "records/DialogFields.h"
#include "ui/DialogBase.h"

namespace {

template <typename Values>
struct CField {
    QString Values::*member;
    const char* column;
    const char* subject;
};

using C = CCompanyValues;
constexpr std::array<CField<C>, 8> kCompany = {{
    {&C::CompanyName, "CompanyName", "The company name"},
    {&C::AddressComment, "AddressComment", "The comment"},
    {&C::Phone, "Phone", "The phone number"},
    {&C::Fax, "Fax", "The fax number"},
    {&C::WWWpage, "WWWpage", "The web page"},
    {&C::Address1, "Address1", "The first address line"},
    {&C::Address2, "Address2", "The second address line"},
    {&C::Address3, "Address3", "The third address line"},
}};

using P = CPersonValues;
constexpr std::array<CField<P>, 6> kPerson = {{
    {&P::FirstName, "FirstName", "The first name"},
    {&P::LastName, "LastName", "The last name"},
    {&P::Phone, "PeopleDDSPhone", "The person's phone number"},
    {&P::Mobile, "PeopleMobilePhone", "The mobile number"},
    {&P::Email, "PeopleInternetID", "The e-mail address"},
    {&P::Fax, "PeopleFax", "The person's fax number"},
}};

template <typename Values, std::size_t N>
QList<CColumnText> Texts(CDialogBase& dialog, Values& values,
                         const std::array<CField<Values>, N>& fields, const std::array<int, N>& ids,
                         int (*width)(const char*), const Values* stored)
{
    QList<CColumnText> texts;
    for (std::size_t i = 0; i < N; ++i) {
        QString Values::*member = fields[i].member;
        // A text left as stored is not written: it keeps what another
        // program may have stored longer than the column.
        const bool kept = stored && values.*member == (*stored).*member;
        texts.append({QString::fromLatin1(fields[i].subject), &(values.*member),
                      kept ? 0 : width(fields[i].column), ShowInControl(dialog, ids[i])});
    }
    return texts;
}

} // namespace

QList<CColumnText> CompanyTexts(CDialogBase& dialog, CCompanyValues& company,
                                const CCompanyIds& ids, const CCompanyValues* stored)
{
    return Texts(dialog, company, kCompany, ids, &CAddrCompanySet::Width, stored);
}

QList<CColumnText> PersonTexts(CDialogBase& dialog, CPersonValues& person, const CPersonIds& ids,
                               const CPersonValues* stored)
{
    return Texts(dialog, person, kPerson, ids, &CPeopleSet::Width, stored);
}
