#include "demo/DemoContext.h"
#include "demo/MaterialOverride.h"

void DemoContext::drawMeshAt(irr::scene::IMesh* mesh, const irr::core::matrix4& world,
                             MaterialOverride* materialOverride)
{
    currentDriver->setTransform(irr::video::ETS_WORLD, world);
    drawMesh(mesh, materialOverride);
}

void DemoContext::drawMesh(irr::scene::IMesh* mesh, MaterialOverride* materialOverride)
{
    // A model that failed to load has no mesh: there is nothing to draw.
    if (!mesh)
        return;
    // The count is asked again before every buffer; each buffer is drawn right
    // after its own material is made current.
    for (irr::u32 i = 0; i < mesh->getMeshBufferCount(); ++i)
    {
        irr::scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
        const irr::video::SMaterial& material = buffer->getMaterial();
        if (materialOverride)
            materialOverride->apply(material);
        else
            currentDriver->setMaterial(material);
        currentDriver->drawMeshBuffer(buffer);
    }
}
