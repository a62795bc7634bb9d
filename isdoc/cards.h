#pragma once
// Stock cards found by their identifications: the bar code (EAN), the supplier's code and
// the card number, each on its index of the assortment, never by reading the table through.

#include <QString>
#include <QVector>

class TData;

// True for a bar code of 8 or 13 digits (EAN-8, EAN-13) whose last digit is the check
// digit of the others.
bool IsEanCode(const QString &text);

// A card found by a look-up.
struct CardHit {
    QString card;   // SOR_KAV
    QString name;   // SOR_NAC
};

// The cards that are not withdrawn (SOR_OLD false) whose field of the index `index`
// ("KAV", "EAN", "KDO") equals `value` exactly, in index order. A value longer than the
// field finds nothing (it is not cut to the field's size). One query on the index, through
// a cursor of its own: the component ffSortiment is not touched.
QVector<CardHit> ActiveCardsByKey(TData &d, const QString &index, const QString &value);

// The card of a bar code: true, with ffSortiment standing on it (on index "KAV"), when
// `code` is a valid EAN (IsEanCode) of exactly one card that is not withdrawn. Otherwise
// false and ffSortiment unmoved. Requires: ffSortiment open.
bool GotoCardByEan(TData &d, const QString &code);
