#pragma once

#include <QString>
#include <QUrl>

// The addresses the address book hands to the desktop: only e-mail and web
// pages, never a local file or a script, whatever a stored text holds.

// "mailto:" and the address (the text after a "mailto:" it already holds),
// percent-encoded, so that nothing in the text can add to the mail; an
// empty url for an empty text.
QUrl MailToUrl(const QString& email);

// A web page: the text with "http://" in front when it names no scheme.
// An empty url, with `error` saying why, for any scheme but http and https
// or a text that is no address.
QUrl WebPageUrl(const QString& text, QString* error = nullptr);

// Open them in the desktop's programs; false (after telling the user) when
// refused or when the desktop could not. Nothing happens for an empty text.
bool OpenMailTo(const QString& email);
bool OpenWebPage(const QString& text);
