-- A screen described in data (gui\screen.xml) with Lua handlers: the first
-- button counts its presses in a label, the second ends the run. The host
-- owns the scene while the GUI has elements, so OnFrame draws nothing here.
local presses = 0

function OnStart()
  TRS_LOG_AddEntry("gui: started")
  TRSGUI_ExecuteElementCommand("WND_MAIN", 1)
end

function OnCountPress()
  presses = presses + 1
  TRSGUI_SetElementParam("L_COUNT", "text", "Clicked " .. presses .. " times")
  TRS_LOG_AddEntry("gui: " .. TRSGUI_GetElementParam("L_COUNT", "text"))
end

function OnQuitPress()
  TRS_SYS_RequestQuit()
end

function OnFrame()
  return not TRS_INP_KeyboardIsKeyClicked(1) -- Escape
end
