-- The puzzle frame of the engine's benchmarks drawn by LOVE every frame: a
-- full-screen background, 120 cells and 120 covers of 48 x 48 and 40 glyphs of
-- 16 x 16, all blended with the images' own alpha. Runs for the number of
-- seconds given on the command line (10 by default), then quits.
local images, glyphQuads = {}, {}
local seconds, started = 10, 0

-- A colour gradient with an alpha ramp (64..255), as the engine's benchmarks make.
local function gradient(w, h, seed)
    local data = love.image.newImageData(w, h)
    data:mapPixel(function(x, y)
        local r = math.floor(x * 255 / (w - 1))
        local g = math.floor(y * 255 / (h - 1))
        local b = (seed * 37 + x + y) % 256
        local a = 64 + math.floor((x + y) * 191 / (w + h - 2))
        return r / 255, g / 255, b / 255, a / 255
    end)
    return love.graphics.newImage(data)
end

function love.load(args)
    seconds = tonumber(args[1]) or seconds
    images.background = gradient(800, 600, 1)
    images.cell = gradient(48, 48, 2)
    images.cover = gradient(48, 48, 3)
    images.font = gradient(256, 256, 4)
    for i = 0, 39 do
        glyphQuads[i] = love.graphics.newQuad((i % 16) * 16, math.floor(i / 16) * 16, 16, 16, 256, 256)
    end
    started = love.timer.getTime()
end

function love.update()
    if love.timer.getTime() - started >= seconds then love.event.quit() end
end

function love.draw()
    love.graphics.setBlendMode("alpha")
    love.graphics.draw(images.background, 0, 0)
    for i = 0, 119 do
        local x, y = (i % 15) * 52 + 10, math.floor(i / 15) * 52 + 10
        love.graphics.draw(images.cell, x, y)
        love.graphics.draw(images.cover, x + 2, y + 2)
    end
    for i = 0, 39 do
        love.graphics.draw(images.font, glyphQuads[i], 20 + i * 18, 570)
    end
end
