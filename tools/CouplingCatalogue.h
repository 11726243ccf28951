#pragma once
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
