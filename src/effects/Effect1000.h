#pragma once

#include "demo/Effect.h"

class Effect1000 : public Effect
{
public:
    void init() override;
    void update(float dt) override;
    void shutdown() override;
};
