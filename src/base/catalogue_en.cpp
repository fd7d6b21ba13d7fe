#include "base/catalogue.h"

// The texts of the components in English.

namespace kav {

const TQzCatalogue& EnglishCatalogue()
{
    static const TQzCatalogue catalogue{
        .ElementNames = {{
            u"Hydrogen", u"Helium", u"Lithium", u"Beryllium",
            u"Boron", u"Carbon", u"Nitrogen", u"Oxygen",
            u"Fluorine", u"Neon", u"Sodium", u"Magnesium",
            u"Aluminium", u"Silicon", u"Phosphorus", u"Sulphur",
            u"Chlorine", u"Argon", u"Potassium", u"Calcium",
            u"Scandium", u"Titanium", u"Vanadium", u"Chromium",
            u"Manganese", u"Iron", u"Cobalt", u"Nickel",
            u"Copper", u"Zinc", u"Gallium", u"Germanium",
            u"Arsenic", u"Selenium", u"Bromine", u"Krypton",
            u"Rubidium", u"Strontium", u"Yttrium", u"Zirconium",
            u"Niobium", u"Molybdenum", u"Technetium", u"Ruthenium",
            u"Rhodium", u"Palladium", u"Silver", u"Cadmium",
            u"Indium", u"Tin", u"Antimony", u"Tellurium",
            u"Iodine", u"Xenon", u"Caesium", u"Barium",
            u"Lanthanum", u"Cerium", u"Praseodymium", u"Neodymium",
            u"Promethium", u"Samarium", u"Europium", u"Gadolinium",
            u"Terbium", u"Dysprosium", u"Holmium", u"Erbium",
            u"Thulium", u"Ytterbium ", u"Lutetium", u"Hafnium",
            u"Tantalum", u"Tungsten", u"Rhenium", u"Osmium",
            u"Iridium", u"Platinum", u"Gold", u"Mercury",
            u"Thallium", u"Lead", u"Bismuth", u"Polonium",
            u"Astatine", u"Radon", u"Francium", u"Radium",
            u"Actinium", u"Thorium", u"Protactinium", u"Uranium",
            u"Neptunium", u"Plutonium", u"Americium", u"Curium",
            u"Berkelium", u"Californium", u"Einsteinium", u"Fermium",
            u"Mendelevium", u"Nobelium", u"Lawrencium", u"Rutherfordium",
            u"Dubnium", u"NE",
        }},
        .RadiationNames = {{
            u"Gamma rays", u"X-rays",
            u"Annihilation photons", u"Beta+ particles",
            u"Beta- particles", u"Internal conversion electrons",
            u"Auger electrons", u"Alpha particles",
            u"Alpha recoil nuclei", u"Fission fragments",
            u"Neutrons", u"Prompt gamma rays",
            u"Delayed gamma rays", u"Delayed beta particles",
        }},
        .RadiationCodes = {{
            u"g", u"x", u"aq", u"b+", u"b-", u"ie", u"ae",
            u"a", u"ar", u"ff", u"n", u"pg", u"dg", u"sb",
        }},
        .HalfLifeUnits = {{u"y", u"d", u"h", u"m", u"s", u"ms", u"µs"}},
        .MillionsWord = u"m.",
        .BillionsWord = u"b.",
        .ChooserMenu = {{
            u"&Independent choice of element and atomic mass",
            u"&Radionuclides list",
            u"",
            u"Sort by: element &symbol",
            u"element &name",
            u"periodic &table",
            u"atomic &mass",
            u"",
            u"Filter",
            u"Element filter",
            u"Radionuclide filter",
            u"Advanced filter",
            u"",
            u"Load element list from file",
            u"Load radionuclide list from file",
        }},
        .ClearAdvancedFilter = u"Clear advanced filter",
        .IndexErrorCaption = u"Error",
        .IndexUnreadable = u"Can't read radionuclide database",
        .SpectrumMessages = {{
            u"Spectra file not found!",
            u"Error reading spectra file!",
            u"Beta-spectra file not found!",
            u"Error reading beta-spectra file!",
            u"Auger-CK electrons spectra file not found!",
            u"Error reading Auger-CK electron spectra file!",
            u"Neutron spectra file not found!",
            u"Error reading neutron spectra file!",
        }},
        .InputErrorCaption = u"Input error",
        .LimitLeads = {{
            u"Input value must not be lesser than",
            u"Input value must not be greater than",
            u"Input value must be in range",
        }},
    };
    return catalogue;
}

} // namespace kav
