#include "demo/EffectTable.h"

#include "effects/Effect1000.h"
#include "effects/Effect1100.h"
#include "effects/Effect1200.h"
#include "effects/Effect1300.h"
#include "effects/Effect1500.h"
#include "effects/Effect1600.h"
#include "effects/Effect1900.h"
#include "effects/Effect2200.h"
#include "effects/Effect2500.h"

// The demo's effects: id, how to make it, the end of its section on the
// timeline, and its title. Every section ends on a whole multiple of
// 10.104 s, four bars of the opening's beat; the last end is the
// timeline's. Rows are in the order the effects are made; the director
// keeps them by ascending id. To add an effect, add its row here.
const std::vector<EffectRegistration>& effectTable()
{
    static const std::vector<EffectRegistration> table = {
        {1000, makeEffect<Effect1000>, 10.104f, "Bands, cats and stars"},
        {1100, makeEffect<Effect1100>, 50.52f, "Spiral stars and the rabbit"},
        {1200, makeEffect<Effect1200>, OFF_TIMELINE, "Three spinning shapes"},
        {1500, makeEffect<Effect1500>, 20.208f, "Flight through the arches"},
        {1600, makeEffect<Effect1600>, OFF_TIMELINE, "Flight on green"},
        {1900, makeEffect<Effect1900>, 70.728f, "Heart of squares"},
        {2200, makeEffect<Effect2200>, 60.624f, "Cat, conveyor and hearts"},
        {2500, makeEffect<Effect2500>, 30.312f, "Title over flashing tiles"},
        {1300, makeEffect<Effect1300>, OFF_TIMELINE, "Town under a glow"},
    };
    return table;
}
