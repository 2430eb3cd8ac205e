#pragma once

// Text files written from a list of lines: UTF-16 little-endian with the
// byte order mark FF FE, every line (the last included) ended by CR LF.
// The measurement export and the terminal log are written this way.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// Appends text to out as UTF-16 little-endian code units (no mark, no line end).
void AppendUtf16Le(QByteArray& out, QStringView text);
// Appends CR LF as UTF-16 little-endian.
void AppendUtf16LeLineEnd(QByteArray& out);
// The byte order mark FF FE.
QByteArray Utf16LeByteOrderMark();
// The text of UTF-16 little-endian bytes, code unit by code unit as they are
// (an odd last byte is left out).
QString DecodeUtf16Le(QByteArrayView bytes);

// The whole file: the mark, then each line followed by CR LF.
QByteArray EncodeUtf16Lines(const QStringList& lines);

// Writes bytes as the whole file at path, replacing an existing file only
// once everything is written (a failure leaves the old file as it was).
// false and a reason in error when it could not be written.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
