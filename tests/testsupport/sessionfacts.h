#pragma once

// What the crash-point test checks after each interrupted session: the facts a person typed,
// read from an account's files (weights, food log), the accounts file and the food database.

#include "store/profiledocument.h"

#include <QMap>
#include <QString>

using SessionFacts = QMap<QString, QString>;

inline SessionFacts FactsOf(const QByteArray& accounts, const QByteArray& weights, const QByteArray& foodLog,
                            const QByteArray& database) {
    const ProfileDocument a = ProfileDocument::Parse(accounts);
    const ProfileDocument w = ProfileDocument::Parse(weights);
    const ProfileDocument f = ProfileDocument::Parse(foodLog);
    const ProfileDocument d = ProfileDocument::Parse(database);
    const QString none;
    return {
        {QStringLiteral("paul"), a.ReadString(QStringLiteral("Paul"), QStringLiteral("password"), none)},
        {QStringLiteral("marie"), a.ReadString(QStringLiteral("Marie"), QStringLiteral("password"), none)},
        {QStringLiteral("zoe"), a.ReadString(QStringLiteral("Zoé"), QStringLiteral("password"), none)},
        {QStringLiteral("rythme"), a.ReadString(QStringLiteral("Paul"), QStringLiteral("rythme"), none)},
        {QStringLiteral("v1"), w.ReadString(QStringLiteral("3/2005"), QStringLiteral("v1"), none)},
        {QStringLiteral("v2"), w.ReadString(QStringLiteral("3/2005"), QStringLiteral("v2"), none)},
        {QStringLiteral("february"), w.ReadString(QStringLiteral("2/2005"), QStringLiteral("v1"), none)},
        {QStringLiteral("added"), f.ReadString(QStringLiteral("2/3/2005"), QStringLiteral("Abats"), none)},
        {QStringLiteral("pizza"), f.ReadString(QStringLiteral("2/3/2005"), QStringLiteral("Pizza"), none)},
        {QStringLiteral("older"), f.ReadString(QStringLiteral("1/2/2005"), QStringLiteral("Abats"), none)},
        {QStringLiteral("copiedpizza"),
         f.ReadString(QStringLiteral("10/3/2005"), QStringLiteral("Pizza"), none)},
        {QStringLiteral("copiedsauce"),
         f.ReadString(QStringLiteral("10/3/2005"), QStringLiteral("Abats en sauce"), none)},
        {QStringLiteral("tarte"), d.ReadString(QStringLiteral("Tarte maison"), QStringLiteral("c"), none)},
    };
}
