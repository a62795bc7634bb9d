#pragma once
// The arithmetic of a source document's items and header totals, shared by the item
// editor, the source-document editor and every other way a document is made: what an
// item derives from its price, quantity, markup and package size, when its quantity is
// whole in packages, how a written item grows the header's totals, and how a new
// document takes its number.

#include <QString>

class TData;

// The message of a package size of 0, of which no package count can be derived.
QString PodklPolZeroPackageText();
// The message of an item whose value (quantity × price, or the stock value) is too large
// for a number.
QString PodklPolOutOfRangeText();

// Sets the derived values of the current item of ffPodklPol (in editing), with the
// header's exchange rate KUR = HLA_KUR:
//   POP_KUS := cku / bal
//   POP_NCS := (KUR × cnc + KUR × cnc / 100 × pri) × bal
// A package size of 0 derives nothing and throws AppError (PodklPolZeroPackageText).
void DerivePodklPol(TData &d, double cku, double cnc, double pri, double bal);

// True when a number of packages (POP_KUS) is whole: at most 0.01 above its whole part
// (cut toward zero).
bool PodklPolWholePackages(double kus);

// Writes the item being edited in ffPodklPol and adds the change of its totals (POP_CCC −
// oldCcc, POP_NCC − oldNcc; 0 and 0 for a new item) to the header's HLA_EUR and HLA_NCA,
// writing the header, in one transaction: both are kept or neither. A transaction the
// caller has open is joined (its commit or rollback decides). The header stays held from
// before the item is written until after the commit, and stays in editing. Totals that
// would not be finite numbers are refused before anything is written (ConversionError,
// PodklPolOutOfRangeText); a header whose stored total is no longer a number gets it
// counted again from its items (the items table in the document's range). On a failure
// the header's buffer keeps the totals it had, and the items table is read again from its
// first item.
void PostPodklPol(TData &d, double oldCcc, double oldNcc);

// Deletes the current item of ffPodklPol (browsing) and takes its POP_CCC / POP_NCC off
// the header's totals, writing the header in the same transaction, as PostPodklPol does.
// Totals that would not be finite are counted again from the other items, or refused as
// PostPodklPol does.
void DeletePodklPol(TData &d);

// Gives the header being inserted in ffPodklHlav its number: CIS_POD of the counter table
// + 1 (the counter is written first, so a number is never given out twice), HLA_DO1 :=
// that number padded to 10, HLA_DAT := today; the header is written and put back into
// editing, held in between (PostAndEdit). Returns the number. The counter table is closed
// afterwards.
QString NumberNewPodklad(TData &d);
