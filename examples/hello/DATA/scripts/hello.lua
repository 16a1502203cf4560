-- A row of spinning coloured squares that follow the mouse wheel; Escape or
-- the close button ends the run.
local angle = 0
local speed = 90

function OnStart()
  TRS_LOG_AddEntry("hello: started")
end

function OnFrame()
  if TRS_INP_KeyboardIsKeyClicked(1) then -- Escape
    return false
  end
  speed = speed + 30 * TRS_INP_MouseGetWheelDelta()
  angle = angle + speed * TRS_SYS_TimerGetDelta()

  TRS_GFX_SceneBegin()
  TRS_GFX_SceneClearScreen(0.08, 0.08, 0.16)
  TRS_GFX_TexSetNoTexture()
  for i = 0, 7 do
    local x = 80 + i * 84
    TRS_GFX_VQuadSetPos(x, 270, 60, 60)
    TRS_GFX_VQuadSetColor(i / 7, 0.4 + 0.06 * i, 1 - i / 7)
    TRS_GFX_VQuadRotate(x + 30, 300, angle + i * 11.25)
    TRS_GFX_SceneRender()
  end
  local mx, my = TRS_INP_MouseGetCursorPos()
  TRS_GFX_VQuadSetPos(mx - 4, my - 4, 8, 8)
  TRS_GFX_VQuadSetColor(1, 1, 1)
  TRS_GFX_SceneRender()
  TRS_GFX_SceneEnd()
  TRS_GFX_ScenePresent()
  return true
end
