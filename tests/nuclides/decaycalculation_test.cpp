#include "indexfixture.h"
#include "nuclides/decaycalculation.h"
#include "nuclides/nuclideindex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

namespace kav {
namespace {

// The activity of each member at a time, for 1 Bq of the chain's first nuclide, from
// tests/nuclides/decay_reference.py: the Bateman solution over every path in 400-digit
// arithmetic, on the half-lives and branching fractions of the shipped index.
struct Reference {
    const char* source;
    double days;
    const char* member;
    double activity;
};

// The uranium, thorium and actinium series at 1 day, 1,000 years and 1E9 years.
const Reference kSeries[] = {
    {"U-238", 1, "U-238", 9.9999999999957526e-1},
    {"U-238", 1, "Th-234", 2.8351624279212854e-2},
    {"U-238", 1, "Pa-234m", 2.8318865321516961e-2},
    {"U-238", 1, "U-234", 1.0975953723075374e-10},
    {"U-238", 1, "Th-230", 9.2207927419752188e-19},
    {"U-238", 1, "Ra-226", 2.7346155470716603e-25},
    {"U-238", 1, "Rn-222", 9.6203959598165607e-27},
    {"U-238", 1, "Po-218", 9.4736553876557468e-27},
    {"U-238", 1, "Pb-214", 8.3286090915876599e-27},
    {"U-238", 1, "Bi-214", 7.5464985335868341e-27},
    {"U-238", 1, "Po-214", 7.5449156523941383e-27},
    {"U-238", 1, "Pb-210", 1.0307882900906544e-31},
    {"U-238", 1, "Bi-210", 1.91984001879479e-33},
    {"U-238", 1, "Po-210", 1.1539232648327928e-36},
    {"U-238", 1, "Tl-206", 4.2726511012947217e-39},
    {"U-238", 1, "Hg-206", 1.8625354912703738e-39},
    {"U-238", 1, "Tl-210", 1.574067293055121e-30},
    {"U-238", 1, "At-218", 1.8944943748922744e-30},
    {"U-238", 1, "Rn-218", 1.8944889429437499e-33},
    {"U-238", 1, "Pa-234", 2.8660376994820317e-5},
    {"U-238", 365250, "U-238", 9.9999984486410776e-1},
    {"U-238", 365250, "Th-234", 9.9999984487887549e-1},
    {"U-238", 365250, "Pa-234m", 9.9999984487887599e-1},
    {"U-238", 365250, "U-234", 2.8191597122096843e-3},
    {"U-238", 365250, "Th-230", 1.292681836809114e-5},
    {"U-238", 365250, "Ra-226", 1.6822940115247724e-6},
    {"U-238", 365250, "Rn-222", 1.6822204450819023e-6},
    {"U-238", 365250, "Po-218", 1.6822204036611623e-6},
    {"U-238", 365250, "Pb-214", 1.6818836460019523e-6},
    {"U-238", 365250, "Bi-214", 1.6822194877400566e-6},
    {"U-238", 365250, "Po-214", 1.6818665796854196e-6},
    {"U-238", 365250, "Pb-210", 1.5352692347129827e-6},
    {"U-238", 365250, "Bi-210", 1.5351783879768068e-6},
    {"U-238", 365250, "Po-210", 1.5326733443386076e-6},
    {"U-238", 365250, "Tl-206", 2.055605551322398e-12},
    {"U-238", 365250, "Hg-206", 2.9170113197063829e-14},
    {"U-238", 365250, "Tl-210", 3.5326608597334274e-10},
    {"U-238", 365250, "At-218", 3.3644407216613244e-10},
    {"U-238", 365250, "Rn-218", 3.3644408814480953e-13},
    {"U-238", 365250, "Pa-234", 1.5999997113870819e-3},
    {"U-238", 365250000000, "U-238", 8.5629879491341839e-1},
    {"U-238", 365250000000, "Th-234", 8.5629879492606398e-1},
    {"U-238", 365250000000, "Pa-234m", 8.5629879492606441e-1},
    {"U-238", 365250000000, "U-234", 8.5634582472333207e-1},
    {"U-238", 365250000000, "Th-230", 8.5636027244961583e-1},
    {"U-238", 365250000000, "Ra-226", 8.563605791141201e-1},
    {"U-238", 365250000000, "Rn-222", 8.5636057911612649e-1},
    {"U-238", 365250000000, "Po-218", 8.5636057911612762e-1},
    {"U-238", 365250000000, "Pb-214", 8.5618932962260194e-1},
    {"U-238", 365250000000, "Bi-214", 8.5636043046419929e-1},
    {"U-238", 365250000000, "Po-214", 8.5618077703855468e-1},
    {"U-238", 365250000000, "Pb-210", 8.5636061698249488e-1},
    {"U-238", 365250000000, "Bi-210", 8.5636061698512546e-1},
    {"U-238", 365250000000, "Po-210", 8.5636061705773842e-1},
    {"U-238", 365250000000, "Tl-206", 1.1466668864797771e-6},
    {"U-238", 365250000000, "Hg-206", 1.6270851547721729e-8},
    {"U-238", 365250000000, "Tl-210", 1.7983568896987139e-4},
    {"U-238", 365250000000, "At-218", 1.7127211149652795e-4},
    {"U-238", 365250000000, "Rn-218", 1.7127211963151673e-7},
    {"U-238", 365250000000, "Pa-234", 1.3700780372708542e-3},
    {"Th-232", 1, "Th-232", 9.9999999999986493e-1},
    {"Th-232", 1, "Ra-228", 3.2998616065500653e-4},
    {"Th-232", 1, "Ac-228", 2.1615894985381287e-4},
    {"Th-232", 1, "Th-228", 8.4449791326429688e-8},
    {"Th-232", 1, "Ra-224", 4.2519530310233752e-9},
    {"Th-232", 1, "Rn-220", 4.2378847637488339e-9},
    {"Th-232", 1, "Po-216", 4.2378480751433649e-9},
    {"Th-232", 1, "Pb-212", 1.1117164763548688e-9},
    {"Th-232", 1, "Bi-212", 8.6710996596505337e-10},
    {"Th-232", 1, "Po-212", 5.5547066642901657e-10},
    {"Th-232", 1, "Tl-208", 3.0725381135790736e-10},
    {"Th-232", 365250, "Th-232", 9.9999995066568187e-1},
    {"Th-232", 365250, "Ra-228", 9.9999995107493452e-1},
    {"Th-232", 365250, "Ac-228", 9.9999995107498445e-1},
    {"Th-232", 365250, "Th-228", 9.9999995121104139e-1},
    {"Th-232", 365250, "Ra-224", 9.9999995121175459e-1},
    {"Th-232", 365250, "Rn-220", 9.9999995121175472e-1},
    {"Th-232", 365250, "Po-216", 9.9999995121175472e-1},
    {"Th-232", 365250, "Pb-212", 9.9999995121184111e-1},
    {"Th-232", 365250, "Bi-212", 9.999999512118493e-1},
    {"Th-232", 365250, "Po-212", 6.4059999440014852e-1},
    {"Th-232", 365250, "Tl-208", 3.5939998661402187e-1},
    {"Th-232", 365250000000, "Th-232", 9.5186285032809194e-1},
    {"Th-232", 365250000000, "Ra-228", 9.5186285071764435e-1},
    {"Th-232", 365250000000, "Ac-228", 9.5186285071769188e-1},
    {"Th-232", 365250000000, "Th-228", 9.5186285084719943e-1},
    {"Th-232", 365250000000, "Ra-224", 9.518628508478783e-1},
    {"Th-232", 365250000000, "Rn-220", 9.5186285084787842e-1},
    {"Th-232", 365250000000, "Po-216", 9.5186285084787842e-1},
    {"Th-232", 365250000000, "Pb-212", 9.5186285084796065e-1},
    {"Th-232", 365250000000, "Bi-212", 9.5186285084796845e-1},
    {"Th-232", 365250000000, "Po-212", 6.0976336667214502e-1},
    {"Th-232", 365250000000, "Tl-208", 3.4209951254354713e-1},
    {"U-235", 1, "U-235", 9.9999999999730436e-1},
    {"U-235", 1, "Th-231", 4.7892564972916232e-1},
    {"U-235", 1, "Pa-231", 1.5368198320681227e-8},
    {"U-235", 1, "Ac-227", 4.6966021586725759e-13},
    {"U-235", 1, "Th-227", 4.3959055620888941e-15},
    {"U-235", 1, "Ra-223", 1.4596143373226926e-16},
    {"U-235", 1, "Rn-219", 1.4591998117533053e-16},
    {"U-235", 1, "Po-215", 1.4626567835984858e-16},
    {"U-235", 1, "Pb-211", 1.2605099617735541e-16},
    {"U-235", 1, "Bi-211", 1.2486139835076236e-16},
    {"U-235", 1, "Tl-207", 1.2191525193878682e-16},
    {"U-235", 1, "Po-211", 3.4460427295508395e-19},
    {"U-235", 1, "Fr-223", 6.0898283776744773e-15},
    {"U-235", 1, "At-219", 3.6439491420256335e-19},
    {"U-235", 1, "Bi-215", 3.457158579577762e-19},
    {"U-235", 365250, "U-235", 9.9999901541642141e-1},
    {"U-235", 365250, "Th-231", 9.999990154205567e-1},
    {"U-235", 365250, "Pa-231", 2.0935974207524455e-2},
    {"U-235", 365250, "Ac-227", 2.0284865033908082e-2},
    {"U-235", 365250, "Th-227", 2.0003425019823295e-2},
    {"U-235", 365250, "Ra-223", 2.0282420273117922e-2},
    {"U-235", 365250, "Rn-219", 2.0282420269365188e-2},
    {"U-235", 365250, "Po-215", 2.0282436561354187e-2},
    {"U-235", 365250, "Pb-211", 2.0282434508720791e-2},
    {"U-235", 365250, "Bi-211", 2.0282434387041127e-2},
    {"U-235", 365250, "Tl-207", 2.022645473808991e-2},
    {"U-235", 365250, "Po-211", 5.5979520149056687e-5},
    {"U-235", 365250, "Fr-223", 2.7993111697112943e-4},
    {"U-235", 365250, "At-219", 1.6795866550027482e-8},
    {"U-235", 365250, "Bi-215", 1.6291990686989164e-8},
    {"U-235", 365250000000, "U-235", 3.7359458632568631e-1},
    {"U-235", 365250000000, "Th-231", 3.7359458632723123e-1},
    {"U-235", 365250000000, "Pa-231", 3.7361197202070197e-1},
    {"U-235", 365250000000, "Ac-227", 3.7361198357507678e-1},
    {"U-235", 365250000000, "Th-227", 3.6845612889333892e-1},
    {"U-235", 365250000000, "Ra-223", 3.7361197422371318e-1},
    {"U-235", 365250000000, "Rn-219", 3.7361197422371324e-1},
    {"U-235", 365250000000, "Po-215", 3.7361227429391178e-1},
    {"U-235", 365250000000, "Pb-211", 3.736122742939482e-1},
    {"U-235", 365250000000, "Bi-211", 3.7361227429395036e-1},
    {"U-235", 365250000000, "Tl-207", 3.7258110700367402e-1},
    {"U-235", 365250000000, "Po-211", 1.0311698999327281e-3},
    {"U-235", 365250000000, "Fr-223", 5.1558453137667652e-3},
    {"U-235", 365250000000, "At-219", 3.0935071101115022e-7},
    {"U-235", 365250000000, "Bi-215", 3.0007019853141671e-7},
};

// Mo-99 with Tc-99m at 1 and 3 days, Cs-137 with Ba-137m at 1 day and 30 years, and Pa-230,
// which has three daughters (the most any nuclide of the data has), at 1 and 100 days.
const Reference kSmall[] = {
    {"Mo-99", 1, "Mo-99", 7.7702491854830531e-1},         {"Mo-99", 1, "Tc-99m", 6.8935475194557536e-1},
    {"Mo-99", 1, "Tc-99", 5.7044820746008218e-9},         {"Mo-99", 3, "Mo-99", 4.691425665981622e-1},
    {"Mo-99", 3, "Tc-99m", 4.5265057282764745e-1},        {"Mo-99", 3, "Tc-99", 1.7444411227000778e-8},
    {"Cs-137", 1, "Cs-137", 9.9993709458955621e-1},       {"Cs-137", 1, "Ba-137m", 9.4393076188574899e-1},
    {"Cs-137", 10957.5, "Cs-137", 5.0192342249484812e-1}, {"Cs-137", 10957.5, "Ba-137m", 4.7381076386443824e-1},
    {"Pa-230", 1, "Pa-230", 9.6094697759464785e-1},       {"Pa-230", 1, "Th-230", 2.2607524172012138e-8},
    {"Pa-230", 1, "Ra-226", 1.5186517191955621e-12},      {"Pa-230", 1, "Rn-222", 9.1916573390486489e-14},
    {"Pa-230", 1, "Po-218", 9.1117627174037613e-14},      {"Pa-230", 1, "Pb-214", 8.4514047825728836e-14},
    {"Pa-230", 1, "Bi-214", 7.9815655339710781e-14},      {"Pa-230", 1, "Po-214", 2.6282200002167677e-3},
    {"Pa-230", 1, "Pb-210", 1.1026531637938761e-7},       {"Pa-230", 1, "Bi-210", 4.800059245454055e-9},
    {"Pa-230", 1, "Po-210", 5.8942469462228061e-12},      {"Pa-230", 1, "Tl-206", 8.2984872439639631e-15},
    {"Pa-230", 1, "Hg-206", 2.060470530296908e-15},       {"Pa-230", 1, "Tl-210", 1.6696738494163584e-17},
    {"Pa-230", 1, "At-218", 1.8222236408224644e-17},      {"Pa-230", 1, "Rn-218", 2.6282200073092485e-3},
    {"Pa-230", 1, "U-230", 2.698706181629511e-3},         {"Pa-230", 1, "Th-226", 2.6298795662959352e-3},
    {"Pa-230", 1, "Ra-222", 2.6282215351838145e-3},       {"Pa-230", 1, "Ac-226", 1.3540777428806712e-5},
    {"Pa-230", 1, "Fr-222", 8.0404995969605094e-10},      {"Pa-230", 100, "Pa-230", 1.8618406825923325e-2},
    {"Pa-230", 100, "Th-230", 5.6811391564825387e-7},     {"Pa-230", 100, "Ra-226", 2.1045715981613606e-10},
    {"Pa-230", 100, "Rn-222", 2.0584788500814257e-10},    {"Pa-230", 100, "Po-218", 2.0584528975154633e-10},
    {"Pa-230", 100, "Pb-214", 2.0578168991551025e-10},    {"Pa-230", 100, "Bi-214", 2.0580615237542792e-10},
    {"Pa-230", 100, "Po-214", 7.3521856678867958e-3},     {"Pa-230", 100, "Pb-210", 1.5733776242545693e-4},
    {"Pa-230", 100, "Bi-210", 1.5187469183144252e-4},     {"Pa-230", 100, "Po-210", 3.3297150379050963e-5},
    {"Pa-230", 100, "Tl-206", 2.0345967357337312e-10},    {"Pa-230", 100, "Hg-206", 2.9893220156959467e-12},
    {"Pa-230", 100, "Tl-210", 4.3219063027458289e-14},    {"Pa-230", 100, "At-218", 4.116905272439288e-14},
    {"Pa-230", 100, "Rn-218", 7.3521854615948445e-3},     {"Pa-230", 100, "U-230", 7.345625343193831e-3},
    {"Pa-230", 100, "Th-226", 7.3520629574679735e-3},     {"Pa-230", 100, "Ra-222", 7.3521853489012858e-3},
    {"Pa-230", 100, "Ac-226", 6.4086107312287614e-7},     {"Pa-230", 100, "Fr-222", 3.8473467504571588e-11},
};

// Members far down long chains, tens to a hundred and sixty decades below their source: the
// Bateman terms of a single path underflow on the way there (its table of differences held
// 1.3E-168 for the first, and 2E-7 too much for the Pb-209 of Fm-257).
const Reference kDeepTails[] = {
    {"Fm-251", 125892541179417.140625, "Bi-211", 3.6360056235171658e-160},
    {"Cf-255", 63095734448019.429688, "Po-211", 8.8141944106675283e-90},
    {"Es-253", 0.7943282347242815, "Pb-209", 2.2410714956358245e-60},
    {"Fm-257", 31.622776601683793, "Pb-209", 3.7822034633141346e-45},
    {"Fm-257", 50.118723362727231, "Pa-233", 2.8944407546529473e-28},
};

void expectReferences(const NuclideIndex& index, const Reference* begin, const Reference* end)
{
    for (const Reference* r = begin; r != end; ++r) {
        const Nuclide* source = index.findNuclide(QString::fromLatin1(r->source));
        ASSERT_TRUE(source) << r->source;
        const DecayCalculation decay({{source, 1.0}});
        const Nuclide* member = index.findNuclide(QString::fromLatin1(r->member));
        const auto at = std::find(decay.members().begin(), decay.members().end(), member);
        ASSERT_NE(at, decay.members().end()) << r->member << " is not a member of " << r->source;
        const double got = decay.activitiesAt(r->days)[static_cast<std::size_t>(at - decay.members().begin())];
        EXPECT_NEAR(got, r->activity, 1e-9 * r->activity) << r->source << " at " << r->days << " days: " << r->member;
    }
}

TEST(DecayCalculation, TheShippedChainsAgreeWithTheExtendedPrecisionReference)
{
    NuclideIndex index;
    loadShippedIndex(index);
    expectReferences(index, std::begin(kSeries), std::end(kSeries));
    expectReferences(index, std::begin(kSmall), std::end(kSmall));
    expectReferences(index, std::begin(kDeepTails), std::end(kDeepTails));
}

TEST(DecayCalculation, EveryNuclideAtEveryTimeGivesFiniteActivitiesNotBelowZero)
{
    NuclideIndex index;
    loadShippedIndex(index);
    std::vector<DecaySource> all;
    for (int i = 0; i < index.count(); ++i)
        if (decayConstantPerDay(*index.items(i)) > 0)
            all.push_back({index.items(i), 1.0});
    const DecayCalculation decay(all);
    for (const double days : {0.0, 1e-9, 1e-3, 1.0, 365.25, 3.6525e5, 3.6525e11, 3.6525e14}) {
        const std::vector<double> activities = decay.activitiesAt(days);
        for (std::size_t i = 0; i < activities.size(); ++i)
            ASSERT_TRUE(std::isfinite(activities[i]) && activities[i] >= 0)
                << decay.members()[i]->nameText().toStdString() << " at " << days << " days";
    }
}

// Each member's activity for 1 Bq of a source, summed here path by path: every path of decays
// from the source, each taken alone by pathActivityRatio.
std::map<const Nuclide*, double> activitiesPathByPath(const Nuclide* source, double days)
{
    std::map<const Nuclide*, double> found;
    struct Walk {
        std::vector<const Nuclide*> nuclides;
        std::vector<double> constants;
        double weight;
    };
    std::vector<Walk> open{{{source}, {decayConstantPerDay(*source)}, 1.0}};
    while (!open.empty()) {
        const Walk walk = open.back();
        open.pop_back();
        found[walk.nuclides.back()] += walk.weight * pathActivityRatio(walk.constants, days);
        const Nuclide* last = walk.nuclides.back();
        for (int slot = 0; slot < last->daughterCount; ++slot) {
            const Nuclide* daughter = last->daughterNode(slot);
            const double fraction = last->daughters[static_cast<std::size_t>(slot)].yield;
            if (daughter && fraction > 0 && decayConstantPerDay(*daughter) > 0) {
                Walk next = walk;
                next.nuclides.push_back(daughter);
                next.constants.push_back(decayConstantPerDay(*daughter));
                next.weight *= fraction;
                open.push_back(next);
            }
        }
    }
    return found;
}

TEST(DecayCalculation, EveryShippedChainAgreesWithItsPathsTakenOneByOne)
{
    // Every radioactive nuclide as a source, at times from 1E-9 days to 1E15 days three in a
    // decade: the members' activities at all the times in one call against the paths' sums at
    // each. Members below 1E-30 of the total, or below 1E-60 of the source, are left aside: the
    // tables of single paths lose digits to underflow there.
    NuclideIndex index;
    loadShippedIndex(index);
    std::vector<double> times{0};
    for (int i = 0; i <= 72; ++i)
        times.push_back(std::pow(10.0, -9 + i / 3.0 + 0.1));
    for (int n = 0; n < index.count(); ++n) {
        const Nuclide* source = index.items(n);
        if (decayConstantPerDay(*source) <= 0)
            continue;
        const DecayCalculation decay({{source, 1.0}});
        const std::vector<std::vector<double>> got = decay.activitiesAt(times);
        ASSERT_EQ(got.size(), times.size());
        for (std::size_t t = 0; t < times.size(); ++t) {
            const std::map<const Nuclide*, double> expected = activitiesPathByPath(source, times[t]);
            ASSERT_EQ(got[t].size(), expected.size());
            double total = 0;
            for (const auto& [member, activity] : expected)
                total += activity;
            for (std::size_t m = 0; m < got[t].size(); ++m) {
                const double activity = expected.at(decay.members()[m]);
                if (activity > std::max(1e-30 * total, 1e-60)) {
                    ASSERT_NEAR(got[t][m], activity, 1e-9 * activity)
                        << source->nameText().toStdString() << " to " << decay.members()[m]->nameText().toStdString()
                        << " at " << times[t] << " days";
                }
            }
        }
    }
}

TEST(DecayCalculation, ASourceOfSeveralNuclidesIsTheSumOfThemTakenAlone)
{
    // Sources that share members (Ra-226 lies in the uranium series) and one apart, with their
    // own activities: each member's activity is the sum of what each source alone gives it.
    NuclideIndex index;
    loadShippedIndex(index);
    const std::vector<DecaySource> sources{{index.findNuclide(u"U-238"), 3.0},
                                           {index.findNuclide(u"Ra-226"), 500.0},
                                           {index.findNuclide(u"Cs-137"), 70.0},
                                           {index.findNuclide(u"Rn-222"), 0.25}};
    const std::vector<double> times{1e-4, 0.3, 12.0, 4000.0, 3e7};
    const DecayCalculation together(sources);
    const std::vector<std::vector<double>> got = together.activitiesAt(times);
    std::vector<std::vector<double>> expected(times.size(), std::vector<double>(together.members().size(), 0));
    for (const DecaySource& source : sources) {
        const DecayCalculation alone({source});
        const std::vector<std::vector<double>> part = alone.activitiesAt(times);
        for (std::size_t m = 0; m < alone.members().size(); ++m) {
            const auto at = std::find(together.members().begin(), together.members().end(), alone.members()[m]);
            ASSERT_NE(at, together.members().end());
            for (std::size_t t = 0; t < times.size(); ++t)
                expected[t][static_cast<std::size_t>(at - together.members().begin())] += part[t][m];
        }
    }
    for (std::size_t t = 0; t < times.size(); ++t)
        for (std::size_t m = 0; m < together.members().size(); ++m)
            EXPECT_NEAR(got[t][m], expected[t][m], 1e-12 * expected[t][m])
                << together.members()[m]->nameText().toStdString() << " at " << times[t] << " days";
}

// Small chains written here, each nuclide with a half-life in days and its daughters.
class HandChains : public testing::Test {
protected:
    // A chain A -> B -> C ... of the given half-lives in days, each step with all of its decays.
    void makeChain(const std::vector<float>& halfLives)
    {
        std::vector<Nuclide> nodes;
        for (std::size_t i = 0; i < halfLives.size(); ++i) {
            Nuclide node = makeNode(ChemicalElement::Ba, 130 + static_cast<int>(i),
                                    qPrintable(QString::number(130 + i)), halfLives[i], TimeUnit::Day);
            if (i + 1 < halfLives.size())
                addDaughter(node, qPrintable(QStringLiteral("Ba-%1").arg(131 + i)), static_cast<std::int32_t>(i + 1),
                            1.0f);
            nodes.push_back(node);
        }
        index.loadFromBytes(toBytes(nodes));
    }
    double lambda(int i) const { return std::numbers::ln2 / double(index.items(i)->halfLife); }
    std::vector<double> activities(double days) const
    {
        return DecayCalculation({{index.items(0), 1000.0}}).activitiesAt(days);
    }

    NuclideIndex index;
};

TEST_F(HandChains, OneNuclideDecaysAsAZeroTimesExp)
{
    makeChain({8.0f});
    for (const double days : {0.0, 4.0, 8.0, 100.0})
        EXPECT_NEAR(activities(days)[0], 1000 * std::exp(-std::numbers::ln2 * days / 8), 1e-12 * 1000) << days;
    EXPECT_EQ(activities(8)[0], 500);
}

TEST_F(HandChains, ParentAndDaughterWithDistinctAndEqualConstants)
{
    // Distinct: A2 = A0 l2 / (l2 - l1) (exp(-l1 t) - exp(-l2 t)).
    makeChain({10.0f, 2.0f});
    const double l1 = lambda(0), l2 = lambda(1);
    for (const double days : {0.5, 5.0, 50.0})
        EXPECT_NEAR(activities(days)[1], 1000 * l2 / (l2 - l1) * (std::exp(-l1 * days) - std::exp(-l2 * days)),
                    1e-12 * 1000)
            << days;
    // Equal: N2 = l N0 t exp(-l t), so A2 = l^2 N0 t exp(-l t) = A0 l t exp(-l t).
    makeChain({3.0f, 3.0f});
    const double l = lambda(0);
    for (const double days : {0.001, 1.0, 3.0, 30.0})
        EXPECT_NEAR(activities(days)[1], 1000 * l * days * std::exp(-l * days), 1e-12 * 1000 * l * days) << days;
}

TEST_F(HandChains, NearlyEqualConstantsKeepTheirAccuracy)
{
    // The daughter's constant 1E-6, 1E-9 and 1E-12 apart (relative) from the parent's: the
    // difference of the exponentials over that of the constants, without cancellation, is
    // exp(-l1 t) (1 - exp(-d t)) / d = t exp(-l1 t) (-expm1(-d t)) / (d t).
    for (const double apart : {1e-6, 1e-9, 1e-12}) {
        const float parent = 5.0f;
        const float daughter = static_cast<float>(5.0 / (1 + apart));
        // A float holds about seven digits: the daughter's half-life as stored is what counts.
        makeChain({parent, daughter});
        const double l1 = lambda(0), l2 = lambda(1);
        for (const double days : {0.01, 5.0, 60.0}) {
            const double d = l2 - l1;
            const double ratio = d == 0 ? 1 : -std::expm1(-d * days) / (d * days);
            const double expected = 1000 * l2 * days * std::exp(-l1 * days) * ratio;
            EXPECT_NEAR(activities(days)[1], expected, 1e-12 * expected) << apart << " at " << days;
        }
    }
}

TEST(PathActivityRatio, ConstantsApartByOneInAMillionABillionAndATrillion)
{
    // The daughter's activity per unit of the parent's: l2 t exp(-l1 t) (-expm1(-d t)) / (d t),
    // d = l2 - l1, which no difference of nearly equal numbers spoils.
    const double l1 = 0.2;
    for (const double apart : {0.0, 1e-12, 1e-9, 1e-6, 1e-3}) {
        const double l2 = l1 * (1 + apart);
        for (const double days : {1e-3, 1.0, 5.0, 60.0, 400.0}) {
            const double d = l2 - l1;
            const double ratio = d == 0 ? 1 : -std::expm1(-d * days) / (d * days);
            const double expected = l2 * days * std::exp(-l1 * days) * ratio;
            EXPECT_NEAR(pathActivityRatio({l1, l2}, days), expected, 1e-13 * expected) << apart << " at " << days;
        }
    }
    // Three equal constants: A3 / A1(0) = l^2 t^2 / 2 exp(-l t).
    EXPECT_NEAR(pathActivityRatio({0.5, 0.5, 0.5}, 3.0), 0.25 * 9 / 2 * std::exp(-1.5), 1e-15);
    EXPECT_EQ(pathActivityRatio({0.5, 0.7}, 0), 0);
    EXPECT_EQ(pathActivityRatio({0.5}, 0), 1);
}

TEST_F(HandChains, NearlyEqualConstantsInDoublePrecision)
{
    // A float half-life cannot hold constants 1E-9 apart: the half-lives are given in hours and
    // days that differ by a few units in their last place, and the two-step expected value is
    // compared with the Taylor-free form at high precision.
    for (const float hours : {std::nextafter(120.0f, 200.0f), std::nextafter(std::nextafter(120.0f, 200.0f), 200.0f)}) {
        Nuclide a = makeNode(ChemicalElement::Ba, 130, "130", 5.0f, TimeUnit::Day);
        addDaughter(a, "Ba-131", 1, 1.0f);
        const Nuclide b = makeNode(ChemicalElement::Ba, 131, "131", hours, TimeUnit::Hour);
        index.loadFromBytes(toBytes({a, b}));
        const double l1 = std::numbers::ln2 / 5.0;
        const double l2 = std::numbers::ln2 / (double(hours) / 24);
        ASSERT_NE(l1, l2);
        const double d = l2 - l1;
        const double expected = 1000 * l2 * 7 * std::exp(-l1 * 7) * (-std::expm1(-d * 7) / (d * 7));
        EXPECT_NEAR(activities(7)[1], expected, 1e-12 * expected);
    }
}

TEST_F(HandChains, ABranchingNuclideFeedsEachDaughterItsFraction)
{
    Nuclide a = makeNode(ChemicalElement::Ba, 130, "130", 10.0f, TimeUnit::Day);
    addDaughter(a, "Ba-131", 1, 0.25f);
    addDaughter(a, "Ba-132", 2, 0.75f);
    const Nuclide b = makeNode(ChemicalElement::Ba, 131, "131", 1.0f, TimeUnit::Day);
    const Nuclide c = makeNode(ChemicalElement::Ba, 132, "132", 4.0f, TimeUnit::Day);
    index.loadFromBytes(toBytes({a, b, c}));
    const double l1 = lambda(0);
    for (const double days : {1.0, 20.0}) {
        const std::vector<double> got = activities(days);
        for (const auto& [member, fraction] : {std::pair{1, 0.25}, std::pair{2, 0.75}}) {
            const double l2 = lambda(member);
            const double expected = 1000 * fraction * l2 / (l2 - l1) * (std::exp(-l1 * days) - std::exp(-l2 * days));
            EXPECT_NEAR(got[static_cast<std::size_t>(member)], expected, 1e-12 * 1000) << member << " " << days;
        }
    }
}

TEST_F(HandChains, ALongChainReachesSecularEquilibrium)
{
    // A parent of 1E6 days over five daughters of 1 day down to 1E-4 day: after ten half-lives of
    // the longest-lived daughter each daughter's activity is the parent's times
    // prod l_k / (l_k - l_1), short of it by the slowest daughter's transient, 2^-10 times a
    // factor near 1.11, so within 2E-3.
    makeChain({1e6f, 1.0f, 0.1f, 0.01f, 0.001f, 0.0001f});
    const std::vector<double> got = activities(10);
    const double l1 = lambda(0);
    double ratio = 1;
    for (int k = 1; k < 6; ++k) {
        ratio *= lambda(k) / (lambda(k) - l1);
        EXPECT_NEAR(got[static_cast<std::size_t>(k)] / got[0], ratio, 2e-3) << k;
        EXPECT_LT(got[static_cast<std::size_t>(k)] / got[0], ratio) << k;
    }
    EXPECT_NEAR(got[0], 1000 * std::exp(-l1 * 10), 1e-9);
}

TEST_F(HandChains, AChainOfFortyFiveNearlyEqualConstantsStaysFinite)
{
    // Half-lives of 1 day and the next float above it, by turns: the constants lie 6E-8 apart
    // and the last member's activity is, within a few parts in a million, that of equal
    // constants, A0 (lt)^44 / 44! exp(-lt).
    std::vector<float> halfLives;
    for (int i = 0; i < 45; ++i)
        halfLives.push_back(i % 2 ? std::nextafter(1.0f, 2.0f) : 1.0f);
    makeChain(halfLives);
    const double l = lambda(0);
    for (const double days : {10.0, 40.0, 80.0}) {
        const double expected = 1000 * std::exp(44 * std::log(l * days) - std::lgamma(45.0) - l * days);
        const double got = activities(days)[44];
        EXPECT_TRUE(std::isfinite(got)) << days;
        EXPECT_NEAR(got, expected, 1e-5 * expected) << days;
    }
}

TEST_F(HandChains, AtTheReferenceOnlyTheSourceHasActivity)
{
    makeChain({10.0f, 2.0f, 1.0f});
    EXPECT_EQ(activities(0), (std::vector<double>{1000, 0, 0}));
}

} // namespace
} // namespace kav
