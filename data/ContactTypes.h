#pragma once

#include <QString>

// The fields of a company the company dialogs write.
struct CCompanyValues {
    QString CompanyName;
    QString AddressComment;
    QString Phone;
    QString Fax;
    QString WWWpage;
    QString Address1;
    QString Address2;
    QString Address3;
};

// The fields of a contact person the contact dialogs write.
struct CPersonValues {
    QString FirstName;
    QString LastName;
    QString Phone; // PeopleDDSPhone
    QString Mobile;
    QString Email; // PeopleInternetID
    QString Fax;

    bool HasName() const { return !FirstName.isEmpty() || !LastName.isEmpty(); }
};

// How a write of the address book ended. The windows word the message.
enum class ContactResult {
    Ok,
    Empty,       // no name was given
    Exists,      // the name is taken (names compare ignoring case)
    NotFound,    // the row is gone
    InUse,       // other records refer to the row; nothing was deleted
    OpenFailed,  // the table could not be read
    WriteFailed, // the database refused the write; nothing was written
};
