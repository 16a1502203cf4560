-- "Catch the ball": a ball bounces around the screen; clicking it scores a
-- point and plays a sound. The title window's Start button (or Enter) starts
-- a round of 20 seconds; Escape ends the run.
local ball = { x = 360, y = 260, vx = 210, vy = 160, size = 48 }
local playing = false
local score = 0
local timeLeft = 0
local shown = ""

-- Sets the label only when its text changes (a new text is measured again).
local function showScore()
  local text = "Score: " .. score
  if playing then text = text .. "   Time: " .. math.ceil(timeLeft) end
  if text ~= shown then
    shown = text
    TRSGUI_SetElementParam("L_SCORE", "text", text)
  end
end

function OnStart()
  TRS_LOG_AddEntry("first: started")
  TRSGUI_ExecuteElementCommand("WND_TITLE", 1) -- 1 = show
end

-- The button's on_press handler, named in gui\screen.xml.
function OnStartPress()
  score = 0
  timeLeft = 20
  playing = true
  TRSGUI_ExecuteElementCommand("WND_TITLE", 2) -- 2 = hide
  showScore()
end

local function moveBall(dt)
  ball.x = ball.x + ball.vx * dt
  ball.y = ball.y + ball.vy * dt
  if ball.x < 0 then ball.x, ball.vx = 0, -ball.vx end
  if ball.y < 50 then ball.y, ball.vy = 50, -ball.vy end
  if ball.x > 800 - ball.size then ball.x, ball.vx = 800 - ball.size, -ball.vx end
  if ball.y > 600 - ball.size then ball.y, ball.vy = 600 - ball.size, -ball.vy end
end

local function checkHit()
  if not TRS_INP_MouseIsKeyClicked(1) then return end
  local mx, my = TRS_INP_MouseGetCursorPos()
  if mx >= ball.x and mx < ball.x + ball.size and my >= ball.y and my < ball.y + ball.size then
    score = score + 1
    -- sound, no loop, frequency/volume/pan unchanged (-1, -1, -101)
    TRS_SFX_SoundPlay("SND_HIT", false, -1, -1, -101)
    ball.vx, ball.vy = ball.vx * 1.1, ball.vy * 1.1
    showScore()
  end
end

-- Runs every frame inside the scene the host opened: draw, do not present.
function OnFrame()
  if TRS_INP_KeyboardIsKeyClicked(1) then return false end -- Escape
  local dt = TRS_SYS_TimerGetDelta()
  moveBall(dt)
  if playing then
    checkHit()
    timeLeft = timeLeft - dt
    if timeLeft <= 0 then
      playing = false
      TRSGUI_SetElementParam("L_TITLE", "text", "Score: " .. score)
      TRSGUI_SetElementParam("L_BTN_START", "text", "Again")
      TRSGUI_ExecuteElementCommand("WND_TITLE", 1)
    end
    showScore()
  end

  TRS_GFX_TechApply("TEQ_GUI")
  TRS_GFX_TexSet("TEX_BALL")
  TRS_GFX_VQuadSetColor(1, 1, 1)
  TRS_GFX_VQuadSetTexCoords(1, 0, 0, 1, 1)
  TRS_GFX_VQuadSetPos(ball.x, ball.y, ball.size, ball.size)
  TRS_GFX_SceneRender()
  return true
end
