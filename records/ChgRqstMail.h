#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The notice of a new change request: a mail the user's mail program opens
// pre-addressed, to send or not. Nothing is sent by the program itself.

// "mailto:" with the addresses (empty ones left out) and the subject and
// body, percent-encoded so that nothing in a name or reference can add to
// the mail; an empty url when no address is left.
QUrl ChgRqstMailUrl(const QStringList& recipients, const QString& authority, int chgReqId,
                    const QString& reference, const QString& dated);
// Opens it in the desktop's mail program; false when there is nobody to
// write to, or (after telling the user) when no mail program started.
bool SendChgRqstMail(const QStringList& recipients, const QString& authority, int chgReqId,
                     const QString& reference, const QString& dated);
