-- The GUI gallery. Each screen is a window; the bottom bar's button (or Tab)
-- hides the current one and shows the next once the hide is over. Another
-- screen joins by a script of its own that appends its window to
-- GALLERY_SCREENS (all scripts load before OnStart runs), e.g.
--   GALLERY_SCREENS = GALLERY_SCREENS or {}
--   GALLERY_SCREENS[#GALLERY_SCREENS + 1] = {window = "WND_MORE", name = "more classes"}
-- This screen goes first whichever script loads first.
local screens = {{window = "WND_TILES", name = "tiles, tips, animated tiles, windows, labels"}}
for _, screen in ipairs(GALLERY_SCREENS or {}) do
  screens[#screens + 1] = screen
end
GALLERY_SCREENS = screens

local current = 1
local kShowHideTime = 0.5 -- the windows' time_showhide
local clicks = 0

local function showScreenName()
  local screen = GALLERY_SCREENS[current]
  TRSGUI_SetElementParam("LB_SCREENNAME", "text",
    "Screen " .. current .. " of " .. #GALLERY_SCREENS .. ": " .. screen.name)
end

function OnStart()
  TRSGUI_ExecuteElementCommand(GALLERY_SCREENS[current].window, 1)
  showScreenName()
end

function GalleryNext()
  TRSGUI_ExecuteElementCommand(GALLERY_SCREENS[current].window, 2)
  current = current % #GALLERY_SCREENS + 1
  TRSGUI_ExecuteElementCommand(GALLERY_SCREENS[current].window, 1, kShowHideTime)
  showScreenName()
end

-- Command 6 plays one cycle unless one is playing; the tile then hides itself.
function GalleryPlayBurst()
  TRSGUI_ExecuteElementCommand("AN_BURST", 6)
end

function GalleryTargetIn()
  TRSGUI_SetElementParam("AT_TARGET", "color", 1, 0.85, 0.5, 1)
end

function GalleryTargetOut()
  TRSGUI_SetElementParam("AT_TARGET", "color", 0.7, 0.8, 1, 1)
end

function GalleryTargetClick()
  clicks = clicks + 1
  TRSGUI_SetElementParam("LB_CLICKS", "text", "Clicked " .. clicks .. (clicks == 1 and " time" or " times"))
end

function OnFrame()
  return not TRS_INP_KeyboardIsKeyClicked(1) -- Escape
end
