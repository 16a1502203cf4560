-- The LOVE peer of the benchmarks: an 800 x 600 window with vsync, no audio
-- (the benchmarks run without a sound card).
function love.conf(t)
    t.identity = "tarnis_bench_peer"
    t.window.title = "puzzle frame"
    t.window.width = 800
    t.window.height = 600
    t.window.vsync = 1
    t.modules.audio = false
    t.modules.sound = false
    t.modules.joystick = false
    t.modules.physics = false
    t.modules.video = false
end
