-- The gallery's second screen: the handlers named in gui/screen_controls.xml.
-- It joins the tour by appending its window to GALLERY_SCREENS (gallery.lua).
GALLERY_SCREENS = GALLERY_SCREENS or {}
GALLERY_SCREENS[#GALLERY_SCREENS + 1] = {window = "WND_CONTROLS", name = "buttons, boxes, text, lists, timers"}

local set = TRSGUI_SetElementParam
local get = TRSGUI_GetElementParam
local command = TRSGUI_ExecuteElementCommand

-- Buttons ------------------------------------------------------------------
local presses, holds = 0, 0

local function showCounts()
  set("LB_BTN_COUNT", "text", "Pressed " .. presses .. ", held " .. holds)
end

-- on_press: the button came up over itself after going down on it (or F2).
function CtlPlayPress()
  presses = presses + 1
  showCounts()
  set("LB_BTN_EVENT", "text", "on_press")
end

-- on_click once when pressed, then on_hold every 0.08 s after 0.4 s.
function CtlHold()
  holds = holds + 1
  showCounts()
end

function CtlToggleEnabled()
  if get("BT_PLAY", "enabled") then
    command("BT_PLAY", 4)
    set("LB_ONOFF_TEXT", "text", "Enable the first")
  else
    command("BT_PLAY", 3)
    set("LB_ONOFF_TEXT", "text", "Disable the first")
  end
end

function CtlPlayEnabled()
  set("LB_BTN_EVENT", "text", "on_enable")
end

function CtlPlayDisabled()
  set("LB_BTN_EVENT", "text", "on_disable: grey, no events")
end

-- Check and radio boxes -----------------------------------------------------
function CtlTimerOn()
  command("TM_CLOCK", 3)
end

function CtlTimerOff()
  command("TM_CLOCK", 4)
end

function CtlCaretFast()
  set("TB_NAME", "blink_time", 0.12)
end

function CtlCaretSlow()
  set("TB_NAME", "blink_time", 0.4)
end

-- Colour schemes of the list's cells and the flex element's wave, by radio tag.
local schemes = {
  {hover = {0.3, 0.6, 0.9}, check = {0.2, 0.8, 0.7}, wave = {0.5, 0.85, 1}},
  {hover = {0.9, 0.55, 0.3}, check = {0.95, 0.8, 0.3}, wave = {1, 0.6, 0.4}},
  {hover = {0.5, 0.5, 0.5}, check = {0.75, 0.75, 0.75}, wave = {0.85, 0.85, 0.85}},
}
local scheme = schemes[1]
local kRadios = {"RB_1", "RB_2", "RB_3"}

-- on_check gets the box's tag; the group's other boxes are unchecked here.
function CtlRadio(tag)
  for i, id in ipairs(kRadios) do
    if i ~= tag then command(id, 8) end
  end
  scheme = schemes[tag]
  set("LB_CHOICE", "text", "scheme " .. tag .. " for the list and the wave")
end

-- The list box --------------------------------------------------------------
local selected, checked, listAlpha = -1, -1, 1

local function fill(x, y, w, h, rgb, a)
  TRS_GFX_TechApply("TEQ_GUI")
  TRS_GFX_TexSet("TEX_WHITE", 0)
  TRS_GFX_VQuadSetColor(rgb[1], rgb[2], rgb[3], a)
  TRS_GFX_VQuadSetPos(x, y, w, h, 0.5)
  TRS_GFX_VQuadSetTexCoords(1, 0, 0, 1, 1)
  TRS_GFX_SceneRender()
end

-- on_prepareframe: hovered and checked cell, colour and active flag, every frame.
function CtlListFrame(sel, chk, r, g, b, a, active)
  selected, checked, listAlpha = sel, chk, a
end

-- on_redrawcell: only the cells in view, clipped to the box.
function CtlDrawCell(i, x, y)
  if i == checked then
    fill(x, y, 192, 30, scheme.check, 0.55 * listAlpha)
  elseif i == selected then
    fill(x, y, 192, 30, scheme.hover, 0.45 * listAlpha)
  elseif i % 2 == 0 then
    fill(x, y, 192, 30, {1, 1, 1}, 0.05 * listAlpha)
  end
  TRS_GFX_VQuadSetColor(1, 1, 1, listAlpha)
  TRS_GFX_FontSet("FNT_FONT1")
  TRS_GFX_FontDrawText("Item " .. (i + 1), x + 10, y - 1, 0, -1, listAlpha)
end

function CtlCellChecked()
  local cell = get("LS_ITEMS", "checkedcell")
  set("LB_LIST_STATUS", "text", cell < 0 and "nothing checked" or ("checked item " .. (cell + 1)))
end

-- The bar moves the list, and the keys' moves of the list move the bar.
function CtlListScroll()
  set("LS_ITEMS", "scrolly", get("VS_LIST", "curvalue"))
end

function CtlListShift(offset)
  set("VS_LIST", "curvalue", offset)
end

-- The scroll box --------------------------------------------------------------
function CtlGridScrollX()
  set("SB_GRID", "scrollx", get("HS_GRID", "curvalue"))
end

function CtlGridScrollY()
  set("SB_GRID", "scrolly", get("VS_GRID", "curvalue"))
end

for n = 1, 15 do
  _G["CtlGrid" .. n] = function()
    set("LB_GRID_STATUS", "text", "pressed cell " .. n)
  end
end

-- The text box ----------------------------------------------------------------
function CtlNameInput()
  local name = get("TB_NAME", "text")
  set("LB_HELLO", "text", name == "" and "Click the field, type" or ("Hello, " .. name .. "!"))
end

function CtlNameFocus()
  set("LB_NAME_STATE", "text", "typing (on_enable)")
end

function CtlNameBlur()
  set("LB_NAME_STATE", "text", "no focus (on_disable)")
end

-- The timer and the flex element ------------------------------------------------
local phase, randoms = 0, 0
local wave = {x = 0, y = 0, w = 0, h = 0, a = 1, shown = false}

-- on_factoraction: 0 up to (not including) 1 over two seconds, looping.
function CtlTimerFactor(f)
  phase = f
  set("TL_PROGRESS", "coords", 20, 48, 200 * f, 10)
end

-- on_randomaction: after 0.5 to 1.9 s, in tenths.
function CtlTimerRandom()
  randoms = randoms + 1
  set("LB_RANDOM", "text", "Random action: " .. randoms .. (randoms == 1 and " time" or " times"))
end

-- on_update: the flex element's rect, colour and flags, every frame.
function CtlFlexUpdate(x, y, w, h, r, g, b, a, shown, active)
  wave.x, wave.y, wave.w, wave.h, wave.a, wave.shown = x, y, w, h, a, shown
end

-- on_redraw: twenty bars of a sine wave that the timer's factor moves along.
function CtlFlexDraw()
  local n = 20
  local bw = wave.w / n
  for i = 0, n - 1 do
    local v = 0.5 + 0.45 * math.sin((i / n + phase) * 2 * math.pi)
    local h = wave.h * v
    fill(wave.x + i * bw + 1, wave.y + wave.h - h, bw - 2, h, scheme.wave, 0.85 * wave.a)
  end
end
