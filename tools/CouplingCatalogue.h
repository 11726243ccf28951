#pragma once
#include "hxcadkit/core/TTable.h"

// The couplings of the catalogue as the dump tools go over them: a short key, the name the library knows the
// coupling by, its main table, and the column of that table holding the diameter of the fasteners' circle (-1
// for none).
struct TCatalogueRow
{
  const char* Key;
  const char* Name;
  const char* Table;
  const char16_t* Table16;
  int Column;
};

inline const TCatalogueRow Catalogue[] = {
    {"muvp", "МУВП ГОСТ 21424-93", "МУВП", u"МУВП", 5},
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая", u"Муфта фланцевая", 8},
    {"star", "со Звездочкой ГОСТ Р 50894-96", "Муфта со звездочкой", u"Муфта со звездочкой", -1},
    {"jawdisc", "Муфта кулачково-дисковая ГОСТ 20720-93", "Муфта кулачково-дисковая",
     u"Муфта кулачково-дисковая", -1},
    {"hinge", "Шарнирная ГОСТ 5147-97", "Муфта шарнирная", u"Муфта шарнирная", -1},
    {"hinge2", "Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная", u"Муфта шарнирная", -1},
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая", u"Муфта зубчатая", 18},
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая", u"Муфта зубчатая", 18},
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная", u"Муфта торообразная", 9},
};

// The shaft of another row of row i's torque group: the next row's, the previous one's for the group's last,
// the row's own for a group of one row. Builds that join two shafts take it for the second half.
inline double OtherShaft(const TTable& t, int i)
{
  const double* A = t.Row(i);
  for (int k : {i + 1, i - 1})
    if (k >= 0 && k < t.CountRow && t.Row(k)[0] == A[0] && t.Row(k)[t.Control] != A[t.Control])
      return t.Row(k)[t.Control];
  return A[t.Control];
}
