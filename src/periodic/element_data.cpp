// The built-in element data: one row per element, hydrogen to meitnerium. Properties are the
// atomic weight (amu), melting and boiling points (degrees Celsius) and the density (kg per cubic
// metre, gases at 0 degrees Celsius and one atmosphere), as texts written into the default
// ".pte" file unchanged. Heavy synthetic elements without measured values leave them empty.
#include "periodic/element_record.h"

namespace periodic {

namespace {

// Field order of TElementRec: symbol, name, category, state, {weight, melting, boiling,
// density}, number, group, period, {oxidation states}, radioactive, synthetic, toxic.
// The rows leave Values, which only a file fills, at its default.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
std::vector<TElementRec> MakeElements() {
  return {
      // clang-format off
{"H",  "Hydrogen",      "Nonmetal",             "Gas",    {"1.0079",  "-259.2",   "-252.7",   "8.988E-2"}, 1,   1,  1, {-1, 1},             0, 0, 0},
{"He", "Helium",        "Noble Gas",            "Gas",    {"4.0026",  "-272.2",   "-268.93",  "1.785E-1"}, 2,  18,  1, {},                  0, 0, 0},
{"Li", "Lithium",       "Alkaline Metal",       "Solid",  {"6.941",   "180.54",   "1341.85",  "534"},      3,   1,  2, {1},                 0, 0, 0},
{"Be", "Beryllium",     "Alkaline Earth Metal", "Solid",  {"9.0122",  "1286.85",  "2468.85",  "1848"},     4,   2,  2, {2},                 0, 0, 1},
{"B",  "Boron",         "Metalloid",            "Solid",  {"10.811",  "2075.85",  "3926.85",  "2340"},     5,  13,  2, {3},                 0, 0, 0},
{"C",  "Carbon",        "Nonmetal",             "Solid",  {"12.011",  "3826.85",  "4826.85",  "2260"},     6,  14,  2, {-4, 2, 3, 4},       0, 0, 0},
{"N",  "Nitrogen",      "Nonmetal",             "Gas",    {"14.007",  "-210",     "-195.79",  "1.2506"},   7,  15,  2, {-3, 2, 3, 4, 5},    0, 0, 0},
{"O",  "Oxygen",        "Nonmetal",             "Gas",    {"15.999",  "-218.79",  "-182.95",  "1.429"},    8,  16,  2, {-2},                0, 0, 0},
{"F",  "Fluorine",      "Halogen",              "Gas",    {"18.998",  "-219.67",  "-188.11",  "1.696"},    9,  17,  2, {-1},                0, 0, 1},
{"Ne", "Neon",          "Noble Gas",            "Gas",    {"20.18",   "-248.59",  "-246.05",  "9.002E-1"}, 10, 18,  2, {},                  0, 0, 0},
{"Na", "Sodium",        "Alkaline Metal",       "Solid",  {"22.99",   "97.72",    "882.85",   "971"},      11,  1,  3, {1},                 0, 0, 0},
{"Mg", "Magnesium",     "Alkaline Earth Metal", "Solid",  {"24.305",  "650",      "1089.85",  "1738"},     12,  2,  3, {2},                 0, 0, 0},
{"Al", "Aluminium",     "Other Metal",          "Solid",  {"26.982",  "660.32",   "2518.85",  "2700"},     13, 13,  3, {3},                 0, 0, 0},
{"Si", "Silicon",       "Metalloid",            "Solid",  {"28.086",  "1413.85",  "3264.85",  "2330"},     14, 14,  3, {-4, 2, 4},          0, 0, 0},
{"P",  "Phosphorus",    "Nonmetal",             "Solid",  {"30.974",  "44.15",    "280.45",   "1823"},     15, 15,  3, {-3, 3, 5},          0, 0, 0},
{"S",  "Sulphur",       "Nonmetal",             "Solid",  {"32.066",  "115.21",   "444.61",   "2070"},     16, 16,  3, {-2, 2, 4, 6},       0, 0, 0},
{"Cl", "Chlorine",      "Halogen",              "Gas",    {"35.453",  "-101.5",   "-34.04",   "3.214"},    17, 17,  3, {-1, 1, 3, 5, 7},    0, 0, 1},
{"Ar", "Argon",         "Noble Gas",            "Gas",    {"39.948",  "-189.34",  "-185.85",  "1.784"},    18, 18,  3, {},                  0, 0, 0},
{"K",  "Potassium",     "Alkaline Metal",       "Solid",  {"39.098",  "63.38",    "758.85",   "862"},      19,  1,  4, {1},                 0, 0, 0},
{"Ca", "Calcium",       "Alkaline Earth Metal", "Solid",  {"40.08 ",  "838.85",   "1483.85",  "1550"},     20,  2,  4, {2},                 0, 0, 0},
{"Sc", "Scandium",      "Transition Metal",     "Solid",  {"44.956",  "1540.85",  "2835.85",  "2985"},     21,  3,  4, {3},                 0, 0, 0},
{"Ti", "Titanium",      "Transition Metal",     "Solid",  {"47.88",   "1667.85",  "3286.85",  "4507"},     22,  4,  4, {2, 3, 4},           0, 0, 0},
{"V",  "Vanadium",      "Transition Metal",     "Solid",  {"50.942",  "1909.85",  "3406.85",  "6110"},     23,  5,  4, {2, 3, 4, 5},        0, 0, 0},
{"Cr", "Chromium",      "Transition Metal",     "Solid",  {"51.996",  "1906.85",  "2670.85",  "7190"},     24,  6,  4, {2, 3, 6},           0, 0, 0},
{"Mn", "Manganese",     "Transition Metal",     "Solid",  {"54.938",  "1245.85",  "2060.85",  "7430"},     25,  7,  4, {2, 3, 4, 6, 7},     0, 0, 0},
{"Fe", "Iron",          "Transition Metal",     "Solid",  {"55.847",  "1535.85",  "2861.85",  "7860"},     26,  8,  4, {2, 3},              0, 0, 0},
{"Co", "Cobalt",        "Transition Metal",     "Solid",  {"58.933",  "1494.85",  "2926.85",  "8900"},     27,  9,  4, {2, 3},              0, 0, 0},
{"Ni", "Nickel",        "Transition Metal",     "Solid",  {"58.69",   "1454.85",  "2912.85",  "8908"},     28, 10,  4, {2, 3},              0, 0, 0},
{"Cu", "Copper",        "Transition Metal",     "Solid",  {"63.546",  "1084.62",  "2561.85",  "8960"},     29, 11,  4, {1, 2},              0, 0, 0},
{"Zn", "Zinc",          "Transition Metal",     "Solid",  {"65.39",   "419.53",   "906.85",   "7140"},     30, 12,  4, {2},                 0, 0, 0},
{"Ga", "Gallium",       "Other Metal",          "Solid",  {"69.723",  "29.76",    "2203.85",  "5904"},     31, 13,  4, {3},                 0, 0, 0},
{"Ge", "Germanium",     "Metalloid",            "Solid",  {"72.61",   "938.25",   "2832.85",  "5323"},     32, 14,  4, {-4, 2, 4},          0, 0, 0},
{"As", "Arsenic",       "Metalloid",            "Solid",  {"74.922",  "816.85",   "613.85",   "5727"},     33, 15,  4, {-3, 3, 5},          0, 0, 1},
{"Se", "Selenium",      "Nonmetal",             "Solid",  {"78.96",   "220.85",   "684.85",   "4819"},     34, 16,  4, {-2, 4, 6},          0, 0, 0},
{"Br", "Bromine",       "Halogen",              "Liquid", {"79.904",  "-7.35",    "58.85",    "3120"},     35, 17,  4, {-1, 1, 3, 5},       0, 0, 0},
{"Kr", "Krypton",       "Noble Gas",            "Gas",    {"83.8",    "-157.37",  "-153.42",  "3.749"},    36, 18,  4, {},                  0, 0, 0},
{"Rb", "Rubidium",      "Alkaline Metal",       "Solid",  {"85.468",  "39.31",    "687.85",   "1532"},     37,  1,  5, {1},                 0, 0, 0},
{"Sr", "Strontium",     "Alkaline Earth Metal", "Solid",  {"87.62",   "776.85",   "1381.85",  "2630"},     38,  2,  5, {2},                 0, 0, 0},
{"Y",  "Yttrium",       "Transition Metal",     "Solid",  {"88.906",  "1525.85",  "3335.85",  "4472"},     39,  3,  5, {3},                 0, 0, 0},
{"Zr", "Zirconium",     "Transition Metal",     "Solid",  {"91.224",  "1854.85",  "4408.85",  "6511"},     40,  4,  5, {2, 3, 4},           0, 0, 0},
{"Nb", "Niobium",       "Transition Metal",     "Solid",  {"92.906",  "2476.85",  "4743.85",  "8570"},     41,  5,  5, {3, 5},              0, 0, 0},
{"Mo", "Molybdenum",    "Transition Metal",     "Solid",  {"95.94",   "2622.85",  "4638.85",  "10280"},    42,  6,  5, {2, 3, 4, 5, 6},     0, 0, 0},
{"Tc", "Technetium",    "Transition Metal",     "Solid",  {"98",      "2156.85",  "4264.85",  "11500"},    43,  7,  5, {4, 6, 7},           1, 1, 0},
{"Ru", "Ruthenium",     "Transition Metal",     "Solid",  {"101.07",  "2333.85",  "4149.85",  "12370"},    44,  8,  5, {2, 3, 4, 6, 8},     0, 0, 0},
{"Rh", "Rhodium",       "Transition Metal",     "Solid",  {"102.91",  "1963.85",  "3694.85",  "12450"},    45,  9,  5, {2, 3, 4},           0, 0, 0},
{"Pd", "Palladim",      "Transition Metal",     "Solid",  {"106.42",  "1554.85",  "2962.85",  "12023"},    46, 10,  5, {2, 4},              0, 0, 0},
{"Ag", "Silver",        "Transition Metal",     "Solid",  {"107.87",  "961.78",   "2161.85",  "10490"},    47, 11,  5, {1},                 0, 0, 0},
{"Cd", "Cadmium",       "Transition Metal",     "Solid",  {"112.41",  "321.07",   "766.85",   "8650"},     48, 12,  5, {2},                 0, 0, 1},
{"In", "Indium",        "Other Metal",          "Solid",  {"114.82",  "156.6",    "2071.85",  "7310"},     49, 13,  5, {1, 3},              0, 0, 0},
{"Sn", "Tin",           "Other Metal",          "Solid",  {"118.71",  "231.93",   "2601.85",  "7310"},     50, 14,  5, {2, 4},              0, 0, 0},
{"Sb", "Antimony",      "Metalloid",            "Solid",  {"121.75",  "630.63",   "1586.85",  "6697"},     51, 15,  5, {-3, 3, 5},          0, 0, 0},
{"Te", "Tellurium",     "Metalloid",            "Solid",  {"127.6",   "449.51",   "987.85",   "6240"},     52, 16,  5, {-2, 4, 6},          0, 0, 0},
{"I",  "Iodine",        "Halogen",              "Solid",  {"126.9",   "113.7",    "184.25",   "4940"},     53, 17,  5, {-1, 1, 5, 7},       0, 0, 0},
{"Xe", "Xenon",         "Noble Gas",            "Gas",    {"131.29",  "-111.75",  "-108.1",   "5.894"},    54, 18,  5, {},                  0, 0, 0},
{"Cs", "Cesium",        "Alkaline Metal",       "Solid",  {"132.91",  "28.44",    "670.85",   "1873"},     55,  1,  6, {1},                 0, 0, 0},
{"Ba", "Barium",        "Alkaline Earth Metal", "Solid",  {"137.33",  "726.85",   "1896.85",  "3510"},     56,  2,  6, {2},                 0, 0, 1},
{"La", "Lanthanum",     "Lanthanoid",           "Solid",  {"138.91",  "919.85",   "3463.85",  "6146"},     57,  3,  6, {3},                 0, 0, 0},
{"Ce", "Cerium",        "Lanthanoid",           "Solid",  {"140.12",  "794.85",   "3442.85",  "6689"},     58,  0,  0, {3, 4},              0, 0, 0},
{"Pr", "Praseodymium",  "Lanthanoid",           "Solid",  {"140.91",  "934.85",   "3519.85",  "6773"},     59,  0,  0, {3, 4},              0, 0, 0},
{"Nd", "Neodymium",     "Lanthanoid",           "Solid",  {"144.24",  "1023.85",  "3073.85",  "7007"},     60,  0,  0, {3},                 0, 0, 0},
{"Pm", "Promethium",    "Lanthanoid",           "Solid",  {"145",     "1041.85",  "2999.85",  "7264"},     61,  0,  0, {3},                 1, 1, 0},
{"Sm", "Samarium",      "Lanthanoid",           "Solid",  {"150.36",  "1071.85",  "1793.85",  "7520"},     62,  0,  0, {2, 3},              0, 0, 0},
{"Eu", "Europium",      "Lanthanoid",           "Solid",  {"151.96",  "825.85",   "1528.85",  "5244"},     63,  0,  0, {2, 3},              0, 0, 0},
{"Gd", "Gadolinium",    "Lanthanoid",           "Solid",  {"157.25",  "1311.85",  "3272.85",  "7901"},     64,  0,  0, {3},                 0, 0, 0},
{"Tb", "Terbium",       "Lanthanoid",           "Solid",  {"158.93",  "1355.85",  "3229.85",  "8219"},     65,  0,  0, {3, 4},              0, 0, 0},
{"Dy", "Dysprosium",    "Lanthanoid",           "Solid",  {"162.5",   "1406.85",  "2566.85",  "8551"},     66,  0,  0, {3},                 0, 0, 0},
{"Ho", "Holmium",       "Lanthanoid",           "Solid",  {"164.93",  "1460.85",  "2719.85",  "8795"},     67,  0,  0, {3},                 0, 0, 0},
{"Er", "Erbium",        "Lanthanoid",           "Solid",  {"167.26",  "1528.85",  "2867.85",  "9066"},     68,  0,  0, {3},                 0, 0, 0},
{"Tm", "Thulium",       "Lanthanoid",           "Solid",  {"168.93",  "1544.85",  "1949.85",  "9321"},     69,  0,  0, {2, 3},              0, 0, 0},
{"Yb", "Ytterbium",     "Lanthanoid",           "Solid",  {"173.04",  "823.85",   "1195.85",  "6965"},     70,  0,  0, {2, 3},              0, 0, 0},
{"Lu", "Lutetium",      "Lanthanoid",           "Solid",  {"174.97",  "1662.85",  "3394.85",  "9.84"},     71,  0,  0, {3},                 0, 0, 0},
{"Hf", "Hafnium",       "Transition Metal",     "Solid",  {"178.49",  "2232.85",  "4602.85",  "13310"},    72,  4,  6, {4},                 0, 0, 0},
{"Ta", "Tantalum",      "Transition Metal",     "Solid",  {"180.95",  "3016.85",  "5457.85",  "16650"},    73,  5,  6, {5},                 0, 0, 0},
{"W",  "Tungsten",      "Transition Metal",     "Solid",  {"183.85",  "3421.85",  "5554.85",  "19250"},    74,  6,  6, {2, 3, 4, 5, 6},     0, 0, 0},
{"Re", "Rhenium",       "Transition Metal",     "Solid",  {"186.21",  "3185.85",  "5595.85",  "21020"},    75,  7,  6, {-1, 2, 4, 6, 7},    0, 0, 0},
{"Os", "Osmium",        "Transition Metal",     "Solid",  {"190.2",   "3032.85",  "5011.85",  "22590"},    76,  8,  6, {2, 3, 4, 6, 8},     0, 0, 1},
{"Ir", "Iridium",       "Transition Metal",     "Solid",  {"192.22",  "2445.85",  "4427.85",  "22560"},    77,  9,  6, {2, 3, 4, 6},        0, 0, 0},
{"Pt", "Platinum",      "Transition Metal",     "Solid",  {"195.08",  "1768.25",  "3824.85",  "21450"},    78, 10,  6, {2, 4},              0, 0, 0},
{"Au", "Gold",          "Transition Metal",     "Solid",  {"196.97",  "1064.18",  "2855.85",  "19300"},    79, 11,  6, {1, 3},              0, 0, 0},
{"Hg", "Mercury",       "Transition Metal",     "Liquid", {"200.59",  "-38.85",   "356.58",   "13546"},    80, 12,  6, {1, 2},              0, 0, 1},
{"Tl", "Thallium",      "Other Metal",          "Solid",  {"204.38",  "303.85",   "1472.85",  "11850"},    81, 13,  6, {1, 3},              0, 0, 1},
{"Pb", "Lead",          "Other Metal",          "Solid",  {"207.2",   "327.46",   "1748.85",  "11340"},    82, 14,  6, {2, 4},              0, 0, 1},
{"Bi", "Bismuth",       "Other Metal",          "Solid",  {"208.98",  "271.25",   "1563.85",  "9780"},     83, 15,  6, {3, 5},              0, 0, 0},
{"Po", "Polonium",      "Metalloid",            "Solid",  {"209",     "253.85",   "961.85",   "9196"},     84, 16,  6, {2, 4},              1, 0, 0},
{"At", "Astatine",      "Halogen",              "Solid",  {"210",     "301.85",   "336.85",   ""},         85, 17,  6, {-1, 1, 3, 5, 7},    1, 0, 0},
{"Rn", "Radon",         "Noble Gas",            "Gas",    {"222",     "-71.15",   "-61.85",   "9.73"},     86, 18,  6, {},                  1, 0, 0},
{"Fr", "Francium",      "Alkaline Metal",       "Solid",  {"223",     "26.85",    "676.85",   ""},         87,  1,  7, {1},                 1, 0, 0},
{"Ra", "Radium",        "Alkaline Earth Metal", "Solid",  {"226.03",  "699.85",   "1736.85",  "5000"},     88,  2,  7, {2},                 1, 0, 0},
{"Ac", "Actinium",      "Actinoid",             "Solid",  {"227",     "1049.85",  "3197.85",  "10070"},    89,  3,  7, {3},                 1, 0, 0},
{"Th", "Thorium",       "Actinoid",             "Solid",  {"232.04",  "1749.85",  "4787.85",  "11720"},    90,  0,  0, {4},                 1, 0, 0},
{"Pa", "Protactinium",  "Actinoid",             "Solid",  {"231.04",  "1567.85",  "4026.85",  "15370"},    91,  0,  0, {4, 5},              1, 0, 1},
{"U",  "Uranium",       "Actinoid",             "Solid",  {"238.03",  "1131.85",  "4133.85",  "18900"},    92,  0,  0, {3, 4, 5, 6},        1, 0, 1},
{"Np", "Neptunium",     "Actinoid",             "Solid",  {"237.05",  "643.85",   "3999.85",  "20450"},    93,  0,  0, {3, 4, 5, 6},        1, 1, 0},
{"Pu", "Plutonium",     "Actinoid",             "Solid",  {"244",     "639.35",   "3227.85",  "19816"},    94,  0,  0, {3, 4, 5, 6},        1, 1, 0},
{"Am", "Americium",     "Actinoid",             "Solid",  {"243",     "1175.85",  "2606.85",  "13670"},    95,  0,  0, {3, 4, 5, 6},        1, 1, 0},
{"Cm", "Curium",        "Actinoid",             "Solid",  {"247",     "1339.85",  "3109.85",  "13510"},    96,  0,  0, {3, 4},              1, 1, 0},
{"Bk", "Berkelium",     "Actinoid",             "Solid",  {"247",     "",         "",         ""},         97,  0,  0, {3, 4},              1, 1, 0},
{"Cf", "Californium",   "Actinoid",             "Solid",  {"251",     "",         "",         ""},         98,  0,  0, {3},                 1, 1, 0},
{"Es", "Einsteinium",   "Actinoid",             "Solid",  {"252",     "",         "",         ""},         99,  0,  0, {},                  1, 1, 0},
{"Fm", "Fermium",       "Actinoid",             "Solid",  {"257",     "",         "",         ""},         100, 0,  0, {},                  1, 1, 0},
{"Md", "Mendelevium",   "Actinoid",             "Solid",  {"258",     "",         "",         ""},         101, 0,  0, {},                  1, 1, 0},
{"No", "Nobelium",      "Actinoid",             "Solid",  {"259",     "",         "",         ""},         102, 0,  0, {},                  1, 1, 0},
{"Lr", "Lawrencium",    "Actinoid",             "Solid",  {"262",     "",         "",         ""},         103, 0,  0, {},                  1, 1, 0},
{"Rf", "Rutherfordium", "Transition Metal",     "Solid",  {"261",     "",         "",         ""},         104, 4,  7, {},                  1, 1, 0},
{"Db", "Dubnium",       "Transition Metal",     "Solid",  {"262",     "",         "",         ""},         105, 5,  7, {},                  1, 1, 0},
{"Sg", "Seaborgium",    "Transition Metal",     "Solid",  {"263",     "",         "",         ""},         106, 6,  7, {},                  1, 1, 0},
{"Bh", "Bohrium",       "Transition Metal",     "Solid",  {"262",     "",         "",         ""},         107, 7,  7, {},                  1, 1, 0},
{"Hs", "Hassium",       "Transition Metal",     "Solid",  {"265",     "",         "",         ""},         108, 8,  7, {},                  1, 1, 0},
{"Mt", "Meitnerium",    "Transition Metal",     "Solid",  {"266",     "",         "",         ""},         109, 9,  7, {},                  1, 1, 0},
      // clang-format on
  };
}
#pragma GCC diagnostic pop

}  // namespace

const std::vector<TElementRec>& BuiltInElements() {
  static const std::vector<TElementRec> elements = MakeElements();
  return elements;
}

}  // namespace periodic
