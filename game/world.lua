-- Cubewright demo game.
-- The engine calls lua_onInitGame once, lua_loop every frame and
-- lua_onUninitGame at the end; lua_getNbObjects tells it how many script
-- object types the game has (none yet).

local title, bell, chime
local bellKeyWasDown = false

function lua_onInitGame()
  title = load2DSprite("title.png")
  bell = loadSound("sound/bell.wav")
  chime = loadSound("sound/chime.wav")
  playSound(chime)
  setFogColor(24, 32, 48)
  print("demo started")
end

function lua_getNbObjects()
  return 0
end

-- Rings the bell once per press of the b key, counting the rings in a
-- global variable (global variables are what a savegame keeps).
local function ringOnKey()
  local down = getKey("b") == 1 or getKey("B") == 1
  if down and not bellKeyWasDown then
    playSound(bell)
    addToGlobalVar("rings", 1)
  end
  bellKeyWasDown = down
end

function lua_loop()
  ringOnKey()
  addToGlobalVar("frames", 1)

  clearBackground()
  draw2DWorld()
  local width, height = getWindowSize()
  setColor(255, 255, 255, 255)
  draw2DSprite(title, (width - 512) / 2, height / 4 - 64)

  drawTextCenter("Press B to ring the bell, Escape for the menu")
  setColor(160, 200, 255, 255)
  drawText("Rings: " .. getGlobalVar("rings"), 20, height - 80)
  drawText("Frames: " .. getGlobalVar("frames") .. "   time: " .. getTime() .. " ms", 20, height - 44)
  if isPlayingSound(bell) == 1 then
    setColor(255, 220, 120, 255)
    drawText("ding!", width - 120, height - 80)
  end
  setColor(255, 255, 255, 255)
end

function lua_onUninitGame()
  print("rang the bell " .. getGlobalVar("rings") .. " times")
end
