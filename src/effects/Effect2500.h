#pragma once

#include "demo/Effect.h"

class Effect2500 : public Effect
{
public:
    void init() override;
    void update(float dt) override;
    void shutdown() override;
};
