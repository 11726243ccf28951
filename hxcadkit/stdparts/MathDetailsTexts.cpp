// The technical-requirement texts of the mould parts' sheets and the tolerance texts of single
// dimensions. They are fixed: a sheet picks up to four of the first by index, and the modeller
// numbers them. Every character counts as it stands, the blanks included (the continuation lines
// 12 and 13 are indented by them); "HRCэ" is a Latin HRC with a Cyrillic э, and the hole
// tolerance of entry 12 begins with a Cyrillic Н where entry 14 has a Latin H. Both tables are
// built in this order when the library is loaded.
#include "hxcadkit/stdparts/MathDetailsl.h"

const TString TDemStr[41] = {
    TString(),
    " $*;$ Размеры для справок",
    " 48...52 HRCэ",
    " Покрытие поверхности шероховатостью 0,2 - X12тв.",
    " 42...46 HRCэ",
    " 45...48 HRCэ",
    " 52...56 HRCэ",
    " Покрытие поверхности шероховатостью 0,1 - X12тв.",
    " Цементировать на глубину 0,6...0,8 мм, 56...61 HRCэ",
    " 41...47 HRCэ",
    " Покрытие поверхности шероховатостью 0,16 - X12тв.",
    " Неуказанные предельные отклонения размеров: ",
    "   отверстий - по Н14, валов - по h14, ",
    "   остальные - по Js14.",
    " Неуказанные предельные отклонения по H14, h14, Js14",
    " Технические требования по ГОСТ 16722-71",
    " 44...48 HRCэ",
    " 58...62 HRCэ",
    " Цементировать на глубину 0,5...0,8 мм.",
    " Неуказанные предельные отклонения по h14, Js14",
    " Неуказанные предельные отклонения по h12, Js12",
    " 58...60 HRCэ",
    " Исполнить по пуансонах с зазором",
    " Переднюю сторону штампа покрасить в желтый цвет",
    " Маркеровать -",
    " Цементировать на глубину 0,8...1,2 мм, 56...61 HRCэ",
    " Цементировать на глубину 0,8...1,2 мм, 52...56 HRCэ",
    " 30...34 HRCэ",
    " 32...36 HRCэ",
    " 36...40 HRCэ",
    " Неуказанные радиусы скруглений 0,5 мм",
    " 62...66 HRCэ",
    " Неуказанные предельные отклонения угловых размеров до 20",
    " Хим. окс. прм.",
    " * Длина посадки h7",
    " 42...46 HRCэ, кроме места указанного особо",
    " * Поверхность шероховатостью 6,3",
    " Коническая поверхность шероховатостью 0,2",
    " Замок выполнить по ползуну обеспечив плотное закрывание",
    " * Длину выполнить по месту",
    " 50...54 HRCэ",
};

const TString Qual[6] = {
    TString(), "&03~0,01", "&03~0,1", "&03~0,2", "&03~0,04", "&03~0,02",
};
